#!/bin/bash
# The world frame of the mesh of 10^4 (all in view), taken again and again,
# each time with the clock in effect just before it:
#   bench/sample.sh BUILD_DIR [samples]
# On a shared host the same frame takes up to half as long again when the
# processor is slowed by its neighbours; this shows the spread and how it
# follows the clock. BUILD_DIR is a Release build with tumbo-bench built.
set -euo pipefail
build=${1:?usage: bench/sample.sh BUILD_DIR [samples]}
samples=${2:-20}
for i in $(seq "$samples"); do
  "$build/bench/tumbo-bench" --benchmark_filter='BM_ClockProbe/start|BM_WorldFrame/shape:1/n:10000/all:1$' \
    --benchmark_min_time=0.5 --benchmark_format=json 2>/dev/null
done | python3 -c '
import json, statistics, sys, time
text = sys.stdin.read()
decoder, at, rows = json.JSONDecoder(), 0, []
while at < len(text):
    while at < len(text) and text[at].isspace():
        at += 1
    if at >= len(text):
        break
    run, at = decoder.raw_decode(text, at)
    b = {x["name"].split("/")[0]: x for x in run["benchmarks"]}
    rows.append((run["context"]["date"][11:19], b["BM_ClockProbe"]["ghz"], b["BM_WorldFrame"]["cpu_time"] / 1000))
print("time      GHz  frame ms")
for t, g, f in rows:
    print(f"{t}  {g:.2f}  {f:.3f}")
f = sorted(r[2] for r in rows)
print(f"frame ms over {len(f)} samples: min {f[0]:.3f}, median {statistics.median(f):.3f}, max {f[-1]:.3f}")
'
