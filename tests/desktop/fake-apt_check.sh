#!/bin/sh
# A scripted checker. It answers from files in its control directory, which the
# test may change between runs: output, stderr, status (exit code), crash (any
# content: the checker kills itself), hang (any content: it and a child of its own never
# end) and flood (any content: it prints without end). Each run is appended to runs; its
# open files are listed in fds.
ctl=@CTL@
echo run >>"$ctl/runs"
ls -l /proc/$$/fd >"$ctl/fds" 2>/dev/null
[ -f "$ctl/stderr" ] && cat "$ctl/stderr" >&2
[ -f "$ctl/output" ] && cat "$ctl/output"
[ -f "$ctl/flood" ] && exec yes '1;2;3'
[ -f "$ctl/hang" ] && { sleep 3600 & wait; }
[ -f "$ctl/crash" ] && kill -SEGV $$
exit "$(cat "$ctl/status" 2>/dev/null || echo 0)"
