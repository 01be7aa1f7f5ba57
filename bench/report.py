#!/usr/bin/env python3
"""Turns tumbo-bench's JSON output into the tables of bench/README.md.

Usage: python3 bench/report.py bench.json

Times are CPU times of the benchmark thread (the machine is shared, so wall
time also counts other programs' turns); start-up is wall time by nature.
Every ratio is between two figures of the same run.
"""
import json
import re
import sys

SHAPES = ["chain", "mesh", "pile"]


def load(path):
    with open(path) as f:
        data = json.load(f)
    # A benchmark taken several times over is reported by its median, under
    # its plain name; the spread from its fastest to its slowest goes along.
    runs = {}
    for b in data["benchmarks"]:
        if b.get("run_type", "iteration") == "iteration":
            runs[b["name"]] = b
        elif b.get("aggregate_name") == "median":
            runs[re.sub(r"/repeats:\d+$", "", b["run_name"])] = b
    return data["context"], runs


def ms(b, key="cpu_time"):
    unit = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
    return b[key] * unit


def fmt(v):
    return f"{v:.3f}" if v < 10 else f"{v:.1f}"


def main():
    context, runs = load(sys.argv[1])
    out = []
    out.append(f"Run: {context.get('date', '?')}, {context.get('num_cpus', '?')} CPUs at "
               f"{context.get('mhz_per_cpu', '?')} MHz, load average at start "
               f"{', '.join(f'{x:.2f}' for x in context.get('load_avg', []))}.\n")
    cs, ce = runs.get("BM_ClockProbe/start:0"), runs.get("BM_ClockProbe/end:1")
    if cs and ce:
        out.append(f"Clock in effect (a chain of dependent additions): {cs['ghz']:.2f} GHz at the start of "
                   f"the run, {ce['ghz']:.2f} GHz at its end.\n")

    out.append("### World frame (culling to depth limit) against its floor\n")
    out.append("| world | n | view | balls / links / tensions in view | frame ms | floor ms | frame / floor |")
    out.append("|---|---|---|---|---|---|---|")
    for s, shape in enumerate(SHAPES):
        for n in (100, 1000, 10000, 100000):
            for all_ in (1, 0):
                name = f"shape:{s}/n:{n}/all:{all_}"
                f = runs.get(f"BM_WorldFrame/{name}")
                fl = runs.get(f"BM_WorldFloor/{name}")
                if not f or not fl:
                    continue
                seen = f"{int(f['balls'])} / {int(f['links'])} / {int(f['tensions'])}"
                ratio = ms(f) / ms(fl) if ms(fl) > 0 else float("inf")
                out.append(f"| {shape} | {n} | {'all' if all_ else 'part'} | {seen} | {fmt(ms(f))} | "
                           f"{fmt(ms(fl))} | {ratio:.2f} |")
    out.append("")

    fa = runs.get("BM_FrameAgainstFloor/shape:1/n:10000/all:1/min_time:2.000")
    if fa:
        out.append("### The same frame and floor taken in turns (mesh, n = 10000, all in view)\n")
        out.append(f"Each iteration runs one frame, then the floor, timed apart on the thread's CPU clock; "
                   f"median of 3 runs: frame {fa['frame_ms']:.3f} ms, floor "
                   f"{fa['floor_ms']:.3f} ms, frame / floor {fa['ratio']:.2f}.\n")

    out.append("### Constraint passes per item and pass (mesh worlds, all in view)\n")
    out.append("| kind | n | frame's passes ns/item | floor ns/item | ratio |")
    out.append("|---|---|---|---|---|")
    for kind, passes, floor in (("links", "BM_LinkPasses", "BM_LinkFloor"),
                                ("tensions", "BM_TensionPasses", "BM_TensionFloor")):
        for n in (100, 1000, 10000, 100000):
            p, f = runs.get(f"{passes}/{n}"), runs.get(f"{floor}/{n}")
            if p and f:
                out.append(f"| {kind} | {n} | {p['per_item'] * 1e9:.1f} | {f['per_item'] * 1e9:.1f} | "
                           f"{p['per_item'] / f['per_item']:.2f} |")
    r, s = runs.get("BM_RecordPasses/10000"), runs.get("BM_SolverPasses/10000")
    if r and s:
        out.append(f"\n20 passes over the records (tensionballs, shiftballs): {fmt(ms(r))} ms; the frame's "
                   f"compact solver: {fmt(ms(s))} ms; speed-up {ms(r) / ms(s):.2f} x (mesh, n = 10000).\n")

    out.append("### Level loading (parse, defineobjects, renumbering; pile levels)\n")
    out.append("| balls | load ms | defineobjects ms | time ratio to 10^3 | size ratio | growth (time/size ratio) |"
               " literal grouping ms | literal / load |")
    out.append("|---|---|---|---|---|---|---|---|")
    base = runs.get("BM_Load/1000")
    for n in (1000, 2000, 3000, 10000, 30000, 100000):
        l = runs.get(f"BM_Load/{n}")
        d = runs.get(f"BM_DefineObjects/{n}")
        lit = runs.get(f"BM_LiteralGrouping/{n}/iterations:2")
        if not l and not lit:
            continue
        balls = int((l or lit)["balls"])
        row = [str(balls)]
        row.append(fmt(ms(l)) if l else "-")
        row.append(fmt(ms(d)) if d else "-")
        if l and base:
            tr, sr = ms(l) / ms(base), balls / base["balls"]
            row += [f"{tr:.1f}", f"{sr:.1f}", f"{tr / sr:.2f}"]
        else:
            row += ["-", "-", "-"]
        row.append(fmt(ms(lit)) if lit else "(not run: quadratic)")
        row.append(f"{ms(lit) / ms(l):.0f}" if lit and l else "-")
        out.append("| " + " | ".join(row) + " |")
    out.append("")

    lg = runs.get("BM_LoadGrowth/min_time:2.000")
    if lg:
        out.append(f"The two ends taken in turns (each iteration loads the 10^3 level 100 times and the "
                   f"10^5 level once, each load timed apart on the thread's CPU clock); median of 3 runs: "
                   f"{lg['small_ms']:.3f} ms and {lg['large_ms']:.1f} ms, growth (time ratio / size ratio) "
                   f"{lg['growth']:.2f}.\n")

    out.append("### Culling and the sorted draw list (20,000 items in view, headless)\n")
    c, cd = runs.get("BM_Cull"), runs.get("BM_CullAndDraw")
    out.append("| what | items | ms |")
    out.append("|---|---|---|")
    if c:
        out.append(f"| findonscreen | {int(c['items'])} | {fmt(ms(c))} |")
    if cd:
        out.append(f"| findonscreen + drawballlinks | {int(cd['items'])} | {fmt(ms(cd))} |")
    out.append("")

    st = runs.get("BM_Startup/iterations:10/manual_time")
    if st:
        out.append("### Start-up to the first main-menu frame (SDL, dummy video driver; wall time)\n")
        out.append(f"Mean of 10 runs: {fmt(ms(st, 'real_time'))} ms (includes the 100 ms splash).\n")

    out.append("### Shipped levels: the whole frame (world, collisions, drawing, headless)\n")
    out.append("| level | balls | frame ms | share of 0.5 ms |")
    out.append("|---|---|---|---|")
    for name, b in runs.items():
        if name.startswith("BM_LevelFrame/"):
            out.append(f"| {name[len('BM_LevelFrame/'):]} | {int(b['balls'])} | {ms(b):.4f} | "
                       f"{ms(b) / 0.5:.2f} |")
    print("\n".join(out))


if __name__ == "__main__":
    main()
