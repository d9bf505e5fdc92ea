#!/usr/bin/env bash
# check-imports.sh OBJDUMP EXE TABLE CLIENT SERVER
# Reads the import table of EXE with MinGW's objdump and looks every imported
# function up in TABLE (imports.tsv). Prints each import with the first
# Windows that has it, and the oldest Windows the program loads on by the
# table. Fails when an import is missing from the table or came after the
# target: client Windows CLIENT and server Windows SERVER.
set -euo pipefail
objdump=$1 exe=$2 table=$3 client=$4 server=$5

"$objdump" -p "$exe" >/dev/null || { echo "$objdump cannot read $exe" >&2; exit 1; }
# objdump -p prints, per library, "DLL Name: X" and then one line per
# function: address, hint and name (a bare ordinal has no name).
"$objdump" -p "$exe" | awk -v table="$table" -v client="$client" -v server="$server" '
BEGIN {
    FS = "\t"
    split("2000 xp xp-sp1 xp-sp2 xp-sp3 vista 7 8 8.1 10", c, " ")
    for (i in c) clientRank[c[i]] = i
    split("2000 2003 2003-sp1 2003-sp2 2008 2008-r2 2012 2012-r2 2016", s, " ")
    for (i in s) serverRank[s[i]] = i
    if (!(client in clientRank) || !(server in serverRank)) { print "unknown target " client "/" server; bad = 1; exit }
    while ((getline line < table) > 0) {
        if (line ~ /^#/ || line == "") continue
        n = split(line, f, "\t")
        if (n < 4 || !(f[3] in clientRank) || !(f[4] in serverRank)) { print "bad line in " table ": " line; bad = 1; continue }
        key = tolower(f[1]) " " f[2]
        firstClient[key] = f[3]; firstServer[key] = f[4]
    }
    oldestClient = "2000"; oldestServer = "2000"
    FS = " "
}
/^\tDLL Name: / { dll = tolower($3); next }
/^$/ { dll = "" }
dll != "" && /^\t[0-9a-f]+\t/ {
    sub(/^\t[0-9a-f]+\t */, "")
    if (NF < 2) { print dll "\t(ordinal " $1 ")\tnot in the table"; bad = 1; next }
    name = $2; key = dll " " name; ++count
    if (!(key in firstClient)) { print dll "\t" name "\tnot in the table"; bad = 1; next }
    verdict = ""
    if (clientRank[firstClient[key]] > clientRank[client] || serverRank[firstServer[key]] > serverRank[server]) {
        verdict = "\tcame after the target"; bad = 1
    }
    printf "%s\t%s\t%s / %s%s\n", dll, name, firstClient[key], firstServer[key], verdict
    if (clientRank[firstClient[key]] > clientRank[oldestClient]) oldestClient = firstClient[key]
    if (serverRank[firstServer[key]] > serverRank[oldestServer]) oldestServer = firstServer[key]
}
END {
    if (!bad && count == 0) { print "no imports read from the program"; bad = 1 }
    print count " functions imported; by the table the program loads on client Windows " oldestClient \
          " and server Windows " oldestServer " and later (target: " client " / " server ")"
    exit bad
}'
