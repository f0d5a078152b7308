#!/usr/bin/env bash
# The procedures that the system calls take their own arguments off the stack
# (stdcall, CALLBACK and WINAPI on 32-bit Windows): the compiler names each
# such symbol with @ and the bytes of its arguments. Wine's callers restore the
# stack pointer after such a call and hide a procedure that does not; Windows'
# own need not.
#   check_calling_conventions.sh NM LIBRARY
set -u
nm=$1 library=$2
symbols=$("$nm" "$library") || exit
failed=0
for procedure in InitialDialogProc@16 RoutingDialogProc@16 SubclassProc@24 DragProc@24; do
    if ! grep -Eq " [Tt] _+Z.*${procedure%@*}[A-Za-z0-9_]*@${procedure#*@}$" <<<"$symbols"; then
        echo "${procedure%@*} is not a stdcall procedure of ${procedure#*@} bytes of arguments"
        failed=1
    fi
done
[ "$failed" = 0 ] && echo "every procedure the system calls is stdcall"
exit $failed
