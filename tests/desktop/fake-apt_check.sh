#!/bin/sh
# A scripted checker. It answers from files in its control directory, which the
# test may change between runs: output, stderr, status (exit code) and crash (any
# content: the checker kills itself). Each run is appended to runs.
ctl=@CTL@
echo run >>"$ctl/runs"
[ -f "$ctl/stderr" ] && cat "$ctl/stderr" >&2
[ -f "$ctl/output" ] && cat "$ctl/output"
[ -f "$ctl/crash" ] && kill -SEGV $$
exit "$(cat "$ctl/status" 2>/dev/null || echo 0)"
