#!/usr/bin/env python3
"""Writes a synthetic OpenStreetMap extract of one LOD 8 cell (401, 122, near 47° N 8° E), as
real extracts are made up: in every one of the cell's 1,024 areas a lake with an island (a
multipolygon relation) and a pond (a closed way), a grid of roads of every class with and
without lanes and surface, rivers across the cell, and many buildings, which no rule maps.

Usage: osm_extract.py OUT.osm [BUILDINGS]   (default 1,000,000 buildings: about 50 MB as PBF)
"""
import math
import random
import sys

CELL_W, CELL_H = 360 / 768, 180 / 512
WEST = -180 + 401 * CELL_W
NORTH = 90 - 122 * CELL_H
AREA_W, AREA_H = CELL_W / 32, CELL_H / 32


def main():
    out = open(sys.argv[1], "w", buffering=1 << 20)
    buildings = int(sys.argv[2]) if len(sys.argv) > 2 else 1_000_000
    rng = random.Random(1)
    nodes, ways, relations = [], [], []
    next_id = [1]

    def node(lat, lon):
        i = next_id[0]
        next_id[0] += 1
        out.write(f' <node id="{i}" lat="{lat:.7f}" lon="{lon:.7f}" version="1"/>\n')
        return i

    def ring(cx, cy, rx, ry, n):
        ids = [node(cy + ry * math.sin(2 * math.pi * k / n) * (1 + 0.1 * math.sin(5 * k)),
                    cx + rx * math.cos(2 * math.pi * k / n)) for k in range(n)]
        return ids + ids[:1]

    out.write('<?xml version="1.0" encoding="UTF-8"?>\n<osm version="0.6" generator="bench">\n')
    highways = [("motorway", {}), ("trunk", {"lanes": "3", "oneway": "yes"}),
                ("primary", {"lanes": "4"}), ("secondary", {"surface": "concrete"}),
                ("tertiary", {}), ("residential", {"surface": "gravel"}),
                ("track", {}), ("service", {}), ("footway", {})]
    way_id = [1]

    def way(refs, tags):
        ways.append((way_id[0], refs, tags))
        way_id[0] += 1
        return way_id[0] - 1

    for ay in range(32):
        for ax in range(32):
            west, north = WEST + ax * AREA_W, NORTH - ay * AREA_H
            cx, cy = west + 0.35 * AREA_W, north - 0.4 * AREA_H
            outer = way(ring(cx, cy, 0.25 * AREA_W, 0.25 * AREA_H, 160), {})
            inner = way(ring(cx, cy, 0.06 * AREA_W, 0.06 * AREA_H, 24), {})
            relations.append((outer, inner))
            way(ring(west + 0.8 * AREA_W, north - 0.8 * AREA_H, 0.08 * AREA_W, 0.08 * AREA_H, 40),
                {"natural": "water", "water": "pond"})
    # Roads: 64 east-west and 64 north-south across the cell, a node every ~50 m.
    for k in range(64):
        kind, extra = highways[k % len(highways)]
        lat = NORTH - (k + 0.5) * CELL_H / 64
        refs = [node(lat + 0.0003 * math.sin(i / 7), WEST + i * CELL_W / 700) for i in range(701)]
        way(refs, dict(highway=kind, **extra))
        lon = WEST + (k + 0.5) * CELL_W / 64
        refs = [node(NORTH - i * CELL_H / 700, lon + 0.0003 * math.cos(i / 5)) for i in range(701)]
        way(refs, dict(highway=kind, **extra))
    for k in range(8):
        lat = NORTH - (k + 0.3) * CELL_H / 8
        refs = [node(lat + 0.01 * math.sin(i / 30), WEST + i * CELL_W / 1500) for i in range(1501)]
        way(refs, {"waterway": "river" if k % 2 else "stream"})
    for b in range(buildings):
        lat = NORTH - rng.random() * CELL_H
        lon = WEST + rng.random() * CELL_W
        d = 0.0001
        ids = [node(lat, lon), node(lat, lon + d), node(lat - d, lon + d), node(lat - d, lon)]
        way(ids + ids[:1], {"building": "yes"})
    for i, refs, tags in ways:
        out.write(f' <way id="{i}" version="1">\n')
        out.write("".join(f'  <nd ref="{r}"/>\n' for r in refs))
        out.write("".join(f'  <tag k="{k}" v="{v}"/>\n' for k, v in tags.items()))
        out.write(" </way>\n")
    for n, (outer, inner) in enumerate(relations, start=1):
        out.write(f' <relation id="{n}" version="1">\n'
                  f'  <member type="way" ref="{outer}" role="outer"/>\n'
                  f'  <member type="way" ref="{inner}" role="inner"/>\n'
                  '  <tag k="type" v="multipolygon"/>\n  <tag k="natural" v="water"/>\n'
                  ' </relation>\n')
    out.write("</osm>\n")


if __name__ == "__main__":
    main()
