#!/bin/sh
# A scripted checker. It answers from files in its control directory, which the
# test may change between runs: output, stderr, status (exit code), crash (any
# content: the checker kills itself), hang (any content: it and a child of its own never
# end) and flood (any content: it prints without end). Each run is appended to runs; its
# open files are listed in fds. A run with an option (-k, -p, -s) uses the same names
# with the option appended (output-k, hang-p, runs-k ...): without them it prints nothing.
ctl=@CTL@
s=$1
echo run >>"$ctl/runs$s"
ls -l /proc/$$/fd >"$ctl/fds$s" 2>/dev/null
[ -f "$ctl/stderr$s" ] && cat "$ctl/stderr$s" >&2
[ -f "$ctl/output$s" ] && cat "$ctl/output$s"
[ -f "$ctl/flood$s" ] && exec yes '1;2;3'
[ -f "$ctl/hang$s" ] && { sleep 3600 & wait; }
[ -f "$ctl/crash$s" ] && kill -SEGV $$
exit "$(cat "$ctl/status$s" 2>/dev/null || echo 0)"
