#!/usr/bin/env python3
"""Turns the benchmark results of scripts/bench into bench/REPORT.md.

Usage: report.py RESULTS_DIR REPORT_MD
RESULTS_DIR holds window.json, writers.json, canvas.json, workfile.json, exchange.json,
imagery.json, services.json, areas.json (Google Benchmark JSON with aggregates) and memory.json (the one line
window_memory prints), press-count.txt with the dumps press_count wrote under callgrind,
plus machine.txt.
"""
import json
import pathlib
import sys

UNIT_US = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}


def medians(path):
    """Median real time in microseconds, and the counters, of every benchmark run."""
    runs = {}
    for b in json.loads(path.read_text())["benchmarks"]:
        if b.get("aggregate_name", "median") != "median":
            continue
        name = b.get("run_name", b["name"]).replace("/real_time", "").replace("/manual_time", "")
        name = name.split("/iterations:")[0]
        runs[name] = {
            "us": b["real_time"] * UNIT_US[b["time_unit"]],
            "cpu_us": b["cpu_time"] * UNIT_US[b["time_unit"]],
            "counters": {k: v for k, v in b.items() if k in ("paints/press", "paints/move",
                                                             "lwm", "vtp", "file_bytes",
                                                             "largest_difference", "tiles", "files",
                                                             "cuts", "vertices", "ratio")},
        }
    return runs


def fmt_us(us):
    if us >= 1e6:
        return f"{us / 1e6:.2f} s"
    if us >= 1000:
        return f"{us / 1000:.2f} ms"
    return f"{us:.1f} µs" if us >= 10 else f"{us:.2f} µs"


def verdict(ok):
    return "met" if ok else "**missed**"


AREA_BLOCKS = ((0, "1° × 1°", "1 000 000"), (1, "0.5° × 0.5°", "250 000"),
               (2, "0.25° × 0.25°", "62 500"))


def areas_rows(areas):
    """The rows of the areas job: its time, against the plain cut, and its growth."""
    rows = []
    job, base = areas["BM_AreasJob/0"], areas["BM_IntersectionBaseline/0"]
    rows.append(("Areas job over a 1° × 1° block of OSM-like water polygons, 1 000 000 vertices, "
                 f"all {job['counters']['files']:,.0f} files written (real time)",
                 f"**{fmt_us(job['us'])}**", "≤ 10 s",
                 verdict(job["us"] <= 10e6)))
    rows.append(("Areas job against one pass of per-area OGR_G_Intersection() calls on the same "
                 "block (real time)",
                 f"{fmt_us(job['us'])} vs {fmt_us(base['us'])} = **{job['us'] / base['us']:.2f}×**",
                 "≤ 2×",
                 verdict(job["us"] <= 2 * base["us"])))
    small = areas["BM_AreasJob/2"]
    per_file = [r["us"] / r["counters"]["files"] for r in (small, job)]
    rows.append(("Areas job: time per file written, 1° block against a 0.25° block of the same "
                 "density", f"{fmt_us(per_file[0])} → {fmt_us(per_file[1])} = "
                 f"**{per_file[1] / per_file[0]:.2f}×**", "linear (≈ 1×)",
                 verdict(per_file[1] / per_file[0] <= 1.3)))
    return rows


def areas_table(areas):
    out = ["", "## Areas", "", "| Block | Vertices | Files | Job | Plan only | Per-area "
           "OGR_G_Intersection() |", "|---|---|---|---|---|---|"]
    for i, block, vertices in AREA_BLOCKS:
        job, plan = areas[f"BM_AreasJob/{i}"], areas[f"BM_AreasPlan/{i}"]
        base = areas[f"BM_IntersectionBaseline/{i}"]
        out.append(f"| {block} | {vertices} | {job['counters']['files']:,.0f} | "
                   f"{fmt_us(job['us'])} | {fmt_us(plan['us'])} ({fmt_us(plan['cpu_us'])} CPU) | "
                   f"{fmt_us(base['us'])} ({fmt_us(base['cpu_us'])} CPU) |")
    out += ["", "Job: read, made valid, clipped to every area, pressed through the capture code, "
            "written by the writers into a folder. Plan only: the same without the files. The "
            "baseline reads the same shapefile and makes one OGR_G_Intersection() per polygon "
            "and area its envelope touches, and nothing else. Real time counts waiting for the "
            "disk and for the other processes on the machine; the job writes its files on a "
            "second thread, whose time the CPU figures would leave out."]
    return out


def osm_rows(osm):
    """The osm command on a synthetic whole cell against ogr2ogr reading the same layers."""
    mb = osm["pbf_bytes"] / 1e6
    budget = 2 * osm["ogr2ogr_s"] + osm["bare_s"]
    return [
        (f"osm command over a {mb:.0f} MB .osm.pbf of one whole cell ({osm['lwm_files']:,} LWM "
         f"of {osm['files']:,} files), against 2 × ogr2ogr of the same layers and cell plus the "
         f"same water and roads without the {osm['buildings']:,} buildings",
         f"{osm['osm_s']:.2f} s vs 2 × {osm['ogr2ogr_s']:.2f} s + {osm['bare_s']:.2f} s",
         f"≤ {budget:.2f} s", verdict(osm["osm_s"] <= budget)),
        ("osm command: peak memory over the same extract", f"**{osm['osm_kib'] / 1024:.0f} MiB**"
         f" (ogr2ogr {osm['ogr2ogr_kib'] / 1024:.0f} MiB)", "< 1 GiB",
         verdict(osm["osm_kib"] < 1024 * 1024)),
        ("osm command: the whole cell of 1,024 areas of lakes, islands, ponds, roads and rivers",
         f"**{osm['osm_s']:.2f} s**", "≤ 60 s", verdict(osm["osm_s"] <= 60)),
    ]


def press_counts(results):
    """Instructions per press by list length and kind ("in-a-row", "after-undo"), from the
    dumps of press_count under callgrind, in the order of the lines it printed."""
    counts = {}
    lines = (results / "press-count.txt").read_text().split("\n")
    for i, line in enumerate(l for l in lines if l.strip()):
        entries, presses, kind = line.split()
        dump = (results / f"press-count.{i + 1}").read_text()
        total = next(int(l.split()[1]) for l in dump.splitlines() if l.startswith("totals:"))
        counts[(int(entries), kind)] = total / int(presses)
    return counts


def press_count_rows(counts):
    rows = []
    for kind, what in (("in-a-row", "in a row"), ("after-undo", "each after an undo")):
        few, many = counts[(100, kind)], counts[(100000, kind)]
        rows.append((f"Press at 100 000 entries against 100, {what} (handler, instructions "
                     "under callgrind)",
                     f"{many / 1000:.0f} k vs {few / 1000:.0f} k = **{many / few:.2f}×**",
                     "flat (≤ 1.2×)", verdict(many / few <= 1.2)))
    return rows


def main():
    results, report = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    window = medians(results / "window.json")
    writers = medians(results / "writers.json")
    canvas = medians(results / "canvas.json")
    workfile = medians(results / "workfile.json")
    exchange = medians(results / "exchange.json")
    memory = json.loads((results / "memory.json").read_text())
    imagery = medians(results / "imagery.json")
    services = medians(results / "services.json")
    areas = medians(results / "areas.json")
    machine = (results / "machine.txt").read_text().strip()

    rows = []  # (what, measured, target, verdict)

    real, bare = window["BM_StartupReal"]["us"], window["BM_StartupBare"]["us"]
    # The ratio of the two windows built in turn, which drifts less than two separate runs.
    ratio = window["BM_StartupPair"]["counters"]["ratio"]
    rows.append(("Start-up to the first painted frame, against a bare window with the same "
                 "64 controls, built in turn",
                 f"{fmt_us(real)} vs {fmt_us(bare)}; in turn **{ratio:.2f}×**",
                 "≤ 1.3×", verdict(ratio <= 1.3)))

    move = window["BM_MoveEvent"]["us"]
    rows.append(("Mouse move over the image (event, handler, readouts)", f"**{fmt_us(move)}**",
                 "≤ 20 µs", verdict(move <= 20)))

    press = {n: window[f"BM_PressHandler/{n}"]["us"] for n in (100, 10000, 100000)}
    flat = press[10000] / press[100]
    rows.append(("Press at 10 000 entries against 100 (handler, 200 presses in a row)",
                 f"{fmt_us(press[10000])} vs {fmt_us(press[100])} = **{flat:.2f}×**",
                 "≤ 1.2×", verdict(flat <= 1.2)))
    rows.append(("Press at 100 000 entries against 10 000 (handler)",
                 f"{fmt_us(press[100000])} vs {fmt_us(press[10000])} = "
                 f"**{press[100000] / press[10000]:.2f}×**", "flat", verdict(
                     press[100000] / press[10000] <= 1.2)))
    rows += press_count_rows(press_counts(results))

    for kind in ("Lwm", "Vtp"):
        worst = max(writers[f"BM_Create{kind}/{n}"]["us"] / writers[f"BM_RawSave{kind}/{n}"]["us"]
                    for n in (1000, 10000, 100000))
        rows.append((f"Create {kind.upper()}Source.asm against a raw write of the same bytes "
                     "(worst of 1 000 / 10 000 / 100 000 entries)", f"**{worst:.2f}×**",
                     "≤ 2×", verdict(worst <= 2)))
        text = [writers[f"BM_Build{kind}Text/{n}"]["us"] / n for n in (1000, 10000, 100000)]
        growth = text[2] / text[1]
        rows.append((f"{kind.upper()} text: time per entry at 100 000 against 10 000 entries",
                     f"{text[1] * 1000:.1f} ns → {text[2] * 1000:.1f} ns = **{growth:.2f}×**",
                     "linear (≈ 1×)", verdict(growth <= 1.3)))

    sizes = (10000, 100000)
    worst = max(workfile[f"BM_SaveWorkFile/{n}"]["us"] / workfile[f"BM_RawSaveWorkFile/{n}"]["us"]
                for n in sizes)
    rows.append(("Save a work file against a raw write of the same bytes (worst of 10 000 / "
                 "100 000 + 4 entries a list)", f"**{worst:.2f}×**", "≤ 2×", verdict(worst <= 2)))
    for bench, what in (("BM_SaveWorkFile", "Save a work file"),
                        ("BM_OpenWorkFile", "Open a work file"),
                        ("BM_OpenVtpSource", "Open a VTPSource.asm")):
        small, large = (workfile[f"{bench}/{n}"]["us"] for n in sizes)
        rows.append((f"{what}: 100 000 entries against 10 000", f"{fmt_us(large)} vs "
                     f"{fmt_us(small)} = **{large / small:.2f}×**", "≤ 11×",
                     verdict(large / small <= 11)))
    shown = window["BM_OpenWorkFileShown/100000"]["us"]
    rows.append(("Open of a work file with 100 000 + 100 004 entries in the window, until the "
                 "filled lists are painted", f"**{fmt_us(shown)}**", "≤ 500 ms",
                 verdict(shown <= 500e3)))
    imported, pressed = exchange["BM_ImportTrack"]["us"], exchange["BM_PressTrack"]["us"]
    rows.append(("Import of a 10 000-vertex GPX track against 10 000 presses through the handler",
                 f"{fmt_us(imported)} vs {fmt_us(pressed)} = **{imported / pressed:.2f}×**",
                 "≤ 1.5×", verdict(imported / pressed <= 1.5)))
    formats = ("GeoJSON", "KML", "GPX")
    export = {(f, n): exchange[f"BM_Export/{i}/{n}"]["us"] for i, f in enumerate(formats)
              for n in (10000, 100000)}
    slowest = max(formats, key=lambda f: export[(f, 100000)])
    rows.append(("Export of 100 000 + 100 004 entries through the handler (slowest of GeoJSON / "
                 "KML / GPX)", f"**{fmt_us(export[(slowest, 100000)])}** ({slowest})", "< 0.5 s",
                 verdict(export[(slowest, 100000)] < 500000)))
    growth = max(export[(f, 100000)] / export[(f, 10000)] / 10 for f in formats)
    rows.append(("Export: time per entry at 100 000 against 10 000 entries (worst format)",
                 f"**{growth:.2f}×**", "linear (≈ 1×)", verdict(growth <= 1.3)))

    over_idle = (max(memory["filled_hwm_kib"], memory["created_hwm_kib"])
                 - memory["idle_rss_kib"]) / 1024
    rows.append((f"Peak memory over the idle window with {memory['lwm']:,} + {memory['vtp']:,} "
                 "entries, both files created", f"**{over_idle:.1f} MiB**", "≤ 50 MiB",
                 verdict(over_idle <= 50 and memory["files_written"])))

    sources = [("TiledGeoTiff", "a 20 000 × 20 000 tiled GeoTIFF with overviews (EPSG:4326)"),
               ("MercatorGeoTiff", "the same ground in Web Mercator (EPSG:3857)"),
               ("JpegWorldFile", "a 5 000 × 5 000 JPEG with a world file")]
    for kind, text in sources:
        cut, warp = imagery[f"BM_Cut/{kind}"]["us"], imagery[f"BM_GdalWarp/{kind}"]["us"]
        rows.append((f"Cut of one area from {text}, against GDALWarp() with the same options",
                     f"{fmt_us(cut)} vs {fmt_us(warp)} = **{cut / warp:.2f}×**", "≤ 1.2×",
                     verdict(cut / warp <= 1.2)))
    tiled = imagery["BM_Cut/TiledGeoTiff"]["us"]
    rows.append(("Cut of one area from the tiled GeoTIFF", f"**{fmt_us(tiled)}**", "< 100 ms",
                 verdict(tiled < 100e3)))

    warm, file = services["BM_CutFromWarmCache"]["us"], services["BM_CutFromGeoTiff"]["us"]
    rows.append(("Area from a tile service's warm cache, against the cut of the same pixels from "
                 "a local GeoTIFF", f"{fmt_us(warm)} vs {fmt_us(file)} = **{warm / file:.2f}×**",
                 "≤ 1.5×", verdict(warm / file <= 1.5)))
    cold = services["BM_ColdFetch"]
    tiles = cold["counters"]["tiles"]
    budget = tiles / 2 * 100e3 + 150e3
    rows.append((f"Cold fetch of {tiles:.0f} tiles from a loopback server that takes 100 ms a "
                 "tile, to the picture", f"**{fmt_us(cold['us'])}**",
                 f"≤ {fmt_us(budget)} ({tiles:.0f} / 2 × 100 ms + 150 ms)",
                 verdict(cold["us"] <= budget)))
    rows += areas_rows(areas)
    osm = results / "osm.json"
    if osm.exists():
        rows += osm_rows(json.loads(osm.read_text()))

    out = ["# Benchmark report", "",
           "Written by `scripts/bench` (release build, offscreen platform, medians of "
           "repeated runs). Do not edit: run the script again.", "",
           f"Machine: {machine}", "",
           "| What | Measured | Target | |", "|---|---|---|---|"]
    out += [f"| {a} | {b} | {c} | {d} |" for a, b, c, d in rows]

    out += ["", "## Window", "", "| Benchmark | Median | Notes |", "|---|---|---|"]
    notes = {
        "BM_StartupReal": "construct the main window, show it, until its first frame is painted",
        "BM_StartupBare": "the same for a QMainWindow with the same controls and captions only",
        "BM_StartupPair": "the real window's start-up, built in turn with the bare one",
        "BM_BuildReal": "constructing the main window only",
        "BM_BuildBare": "constructing the bare window only",
        "BM_MoveHandler": "Picture1_MouseMove alone",
        "BM_MoveEvent": "a mouse-move event through the panel",
        "BM_MoveEventPainted": "the move and the repaint it causes",
        "BM_OpenWorkFileShown": "Open of a work file (n + n + 4 entries) until the window is painted",
        "BM_SaveWorkFileWindow": "Save of the window's state (n + n + 4 entries) to its work file",
    }
    for name, run in window.items():
        base = name.split("/")[0]
        note = notes.get(base, "")
        if base == "BM_PressHandler":
            note = "Picture1_MouseDown alone"
        elif base == "BM_PressPainted":
            note = "the press and the repaint of lists, counters and panel"
        extra = ", ".join(f"{k} {v:g}" for k, v in run["counters"].items())
        out.append(f"| `{name}` | {fmt_us(run['us'])} | {note}{'; ' + extra if extra else ''} |")

    out += ["", "## Writers", "", "| Entries | Create LWM | raw LWM | Create VTP | raw VTP "
            "| LWM text | VTP text |", "|---|---|---|---|---|---|---|"]
    for n in (1000, 10000, 100000):
        cells = [fmt_us(writers[f"{b}/{n}"]["us"]) for b in (
            "BM_CreateLwm", "BM_RawSaveLwm", "BM_CreateVtp", "BM_RawSaveVtp",
            "BM_BuildLwmText", "BM_BuildVtpText")]
        out.append(f"| {n:,} | " + " | ".join(cells) + " |")
    out += ["", "Create = the source text built from the list entries, then the file replaced "
            "safely (temporary file, flushed, renamed over the old one). Raw = the same bytes, "
            "prepared beforehand, saved the same way."]

    out += ["", "## Work files", "", "| Entries a list | Save | raw write | Open | Open "
            "VTPSource.asm |", "|---|---|---|---|---|"]
    for n in sizes:
        cells = [fmt_us(workfile[f"{b}/{n}"]["us"]) for b in (
            "BM_SaveWorkFile", "BM_RawSaveWorkFile", "BM_OpenWorkFile", "BM_OpenVtpSource")]
        out.append(f"| {n:,} | " + " | ".join(cells) + " |")
    out += ["", "Save = the work file's JSON built from the state and written safely; raw = the "
            "same bytes saved the same way. Open = read whole, parsed and checked, the state "
            "built (no window). Open VTPSource.asm = a file of that many list entries, read, "
            "checked line by line against the writer's form."]

    out += ["", "## Core", "", "| Benchmark | Median |", "|---|---|"]
    out += [f"| `{name}` | {fmt_us(run['us'])} |" for name, run in canvas.items()]

    out += ["", "## Exchange", "", "| Benchmark | Median | Notes |", "|---|---|---|",
            f"| `BM_ImportTrack` | {fmt_us(imported)} | Import Points of a 10 000-vertex GPX track "
            "into an empty window: read, pressed, lists filled and drawn once |",
            f"| `BM_PressTrack` | {fmt_us(pressed)} | the same 10 000 points through "
            "Picture1_MouseDown, one by one |"]
    for (f, n), us in export.items():
        out.append(f"| `BM_Export` {f} {n:,} | {fmt_us(us)} | Export Shapes with {n:,} LWM and "
                   f"{n + 4:,} VTP entries, file written |")

    out += ["", "## Area cut", "", "| Source | Cut | GDALWarp() | Ratio | Largest difference |",
            "|---|---|---|---|---|"]
    for kind, text in sources:
        cut, warp = imagery[f"BM_Cut/{kind}"], imagery[f"BM_GdalWarp/{kind}"]
        difference = cut["counters"].get("largest_difference", float("nan"))
        out.append(f"| {text} | {fmt_us(cut['us'])} | {fmt_us(warp['us'])} | "
                   f"{cut['us'] / warp['us']:.2f}× | {difference:g} |")
    out += ["", "Each run opens the file anew, as a load or a Calculate does, and ends with the "
            "256 × 256 picture in memory. Largest difference: of any channel of any pixel between "
            "the two cuts (0–255); 0 or 1 means both read the same overview and resample alike."]

    out += areas_table(areas)

    out += ["", "## Memory", "", "| State | RSS | Peak |", "|---|---|---|"]
    for state in ("idle", "filled", "created"):
        out.append(f"| {state} | {memory[state + '_rss_kib'] / 1024:.1f} MiB | "
                   f"{memory[state + '_hwm_kib'] / 1024:.1f} MiB |")
    out += ["", f"{memory['entries']:,} presses took {memory['fill_ms'] / 1000:.1f} s, the "
            "window handling its events after every 100 of them; both files written: "
            f"{'yes' if memory['files_written'] else 'no'}."]

    notes_file = report.parent / "REPORT.notes.md"
    if notes_file.exists():
        out += ["", notes_file.read_text().strip()]
    report.write_text("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
