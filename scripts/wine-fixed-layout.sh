#!/bin/sh
# wine-fixed-layout.sh COMMAND [ARGUMENTS...]
# Runs a Wine command with the kernel's address-space randomisation turned
# off for it and for every process it starts (the personality is inherited).
#
# Every Wine process maps its shared user data at the fixed address
# 0x7ffe0000 as it starts, and exits with code 1 ("failed to map the shared
# user data: c0000018") when something lies there already. Wine's preloader
# reserves those addresses before anything else is mapped; Debian's Wine 8
# ships none. Its loaders are fixed-address executables at 0x7d000000, and
# with randomisation the kernel starts the 64-bit loader's heap anywhere in
# the gigabyte above it, now and then right below 0x7ffe0000. Without
# randomisation the heap follows the loader at once (0x7d005000).
#
# Where the personality cannot be set (a seccomp filter, as in a container's
# default profile), the command runs as it is.
arch=$(uname -m)
if setarch "$arch" -R true 2>/dev/null; then
    exec setarch "$arch" -R "$@"
fi
exec "$@"
