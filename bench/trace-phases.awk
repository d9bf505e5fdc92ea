# trace-phases.awk TRACE: the milestones of one start of Dovrel.exe in a Wine
# trace taken with WINEDEBUG=+timestamp,+pid,+loaddll,+relay and the calls
# named here relayed; one Markdown row per milestone, in ms from the trace's
# first line. Lines read "SECONDS.MS:PID:TID:what happened".
function at(name) {
    if (!(name in when)) {
        when[name] = stamp - first
        order[++count] = name
    }
}
function hwnd(args) {
    sub(/^[^(]*\(/, "", args)
    sub(/,.*/, "", args)
    return tolower(args)
}
function before(a, b) {
    return when[a] < when[b] || (when[a] == when[b] && rank[a] < rank[b])
}
BEGIN {
    FS = ":"
    # the order of a start, for milestones within the same millisecond
    n = split("exe loaded|comctl32 loaded|CreateWindowExW of the main window|first SetTimer|" \
              "ShowWindow of the main window|first BeginPaint|winspool loaded|first EnumPortsA|" \
              "last EnumPortsA returned|first BeginPaint after it|first BeginPaint of the list after it|" \
              "last line of the process (closed by the bench)", names, "|")
    for (i = 1; i <= n; i++)
        rank[names[i]] = i
}
!/^[0-9]+\.[0-9]+:[0-9a-f]+:[0-9a-f]+:/ { next }
{
    stamp = $1 * 1000
    if (first == "") first = stamp
    if (pid == "" && /loaddll/ && tolower($0) ~ /dovrel\.exe" at/) pid = $2
    if ($2 != pid) next
    last = stamp
    rest = substr($0, length($1 $2 $3) + 4)
}
tolower(rest) ~ /^trace:loaddll:.*loaded .*dovrel\.exe"/ { at("exe loaded") }
tolower(rest) ~ /^trace:loaddll:.*loaded .*comctl32\.dll"/ { at("comctl32 loaded") }
tolower(rest) ~ /^trace:loaddll:.*loaded .*winspool\.drv"/ { at("winspool loaded") }
# Every CreateWindowExW on a stack, to tell the windows by what they return.
rest ~ /^Call user32\.CreateWindowExW\(/ {
    made[++depth] = (rest ~ /L"Ports"/ && mainWindow == "") ? "main" : (rest ~ /L"SysListView32"/ && list == "") ? "list" : ""
    if (made[depth] == "main") at("CreateWindowExW of the main window")
}
rest ~ /^Ret  user32\.CreateWindowExW\(/ && depth > 0 {
    value = rest
    sub(/.*retval=/, "", value)
    sub(/ .*/, "", value)
    if (made[depth] == "main") mainWindow = tolower(value)
    if (made[depth] == "list") list = tolower(value)
    depth--
}
rest ~ /^Call user32\.ShowWindow\(/ && mainWindow != "" && hwnd(rest) == mainWindow { at("ShowWindow of the main window") }
rest ~ /^Call user32\.SetTimer\(/ { at("first SetTimer") }
rest ~ /^Call user32\.BeginPaint\(/ {
    at("first BeginPaint")
    if (enumerated) {
        at("first BeginPaint after it")
        if (hwnd(rest) == list) at("first BeginPaint of the list after it")
    }
}
rest ~ /^Call winspool[.a-z]*\.EnumPortsA\(/ { at("first EnumPortsA") }
rest ~ /^Ret  winspool[.a-z]*\.EnumPortsA\(/ { enumerated = 1; lastEnum = stamp - first }
END {
    if (enumerated) {
        when["last EnumPortsA returned"] = lastEnum
        order[++count] = "last EnumPortsA returned"
    }
    when["last line of the process (closed by the bench)"] = last - first
    order[++count] = "last line of the process (closed by the bench)"
    # in the order of time
    for (i = 2; i <= count; i++)
        for (j = i; j > 1 && before(order[j], order[j - 1]); j--) {
            name = order[j]
            order[j] = order[j - 1]
            order[j - 1] = name
        }
    for (i = 1; i <= count; i++)
        printf "| %s | %.0f |\n", order[i], when[order[i]]
}
