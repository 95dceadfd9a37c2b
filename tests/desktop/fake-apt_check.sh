#!/bin/sh
# A scripted checker. It answers from files in its control directory, which the
# test may change between runs: output, stderr, status (exit code), crash (any
# content: the checker kills itself) and hang (any content: it never ends). Each run
# is appended to runs; its open files are listed in fds.
ctl=@CTL@
echo run >>"$ctl/runs"
ls -l /proc/$$/fd >"$ctl/fds" 2>/dev/null
[ -f "$ctl/stderr" ] && cat "$ctl/stderr" >&2
[ -f "$ctl/output" ] && cat "$ctl/output"
[ -f "$ctl/hang" ] && exec sleep 3600
[ -f "$ctl/crash" ] && kill -SEGV $$
exit "$(cat "$ctl/status" 2>/dev/null || echo 0)"
