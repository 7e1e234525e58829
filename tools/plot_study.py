#!/usr/bin/env python3
"""Draws the plots of a study (tools/study.sh) from its gathered table, and prints its tables.

Usage: plot_study.py runs.csv FOLDER

Reads the columns that kartrun's summary.json gives every run (settings.*, race.*) and draws
into FOLDER:
  laps-vs-futures.png      one kart: best and mean lap against futures per move (log scale),
                           also with the race preset (lap direction, grid held at 10 px)
  wrongway-vs-futures.png  twenty karts from the grid: karts against the field for more than
                           5 s, and the longest stand-still, against futures per move
  horizon-and-grid.png     one kart at 4,000 futures: mean lap against the futures' horizon
                           and against a fixed end-point grid
each with and without racing the lap direction, the mean over the seeds with their range.
Then prints the same figures as Markdown tables on standard output.
"""
import csv
import statistics
import sys
from collections import defaultdict

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

RACE_LABELS = {"false": "path length (the default)", "true": "racing the lap direction",
               "held": "the race preset: lap direction, grid held at 10 px"}
COLOURS = {"false": "tab:blue", "true": "tab:red", "held": "tab:green"}


def number(text):
    try:
        return float(text)
    except (TypeError, ValueError):
        return None


def load(path):
    with open(path, newline="", encoding="utf-8") as f:
        return list(csv.DictReader(f))


def grouped(rows, select, key, value):
    """{race: {key: [values over seeds]}} for the rows that select picks."""
    out = defaultdict(lambda: defaultdict(list))
    for row in rows:
        if not select(row):
            continue
        v = number(row.get(value))
        if v is None:
            continue
        out[row["settings.race-direction"]][number(row[key])].append(v)
    return out


def draw(ax, data, xlabel, ylabel, log_x=False, style="-o"):
    for race in ("false", "true", "held"):
        if not data.get(race):
            continue
        xs = sorted(data[race])
        means = [statistics.mean(data[race][x]) for x in xs]
        lows = [m - min(data[race][x]) for m, x in zip(means, xs)]
        highs = [max(data[race][x]) - m for m, x in zip(means, xs)]
        ax.errorbar(xs, means, yerr=[lows, highs], fmt=style, capsize=3, color=COLOURS[race],
                    label=RACE_LABELS[race])
    if log_x:
        ax.set_xscale("log")
    ax.set_xlabel(xlabel)
    ax.set_ylabel(ylabel)
    ax.grid(True, which="both", alpha=0.3)
    ax.legend(fontsize="small")


def table(title, data, xname, yname):
    print(f"\n{title}\n")
    print(f"| {xname} | scoring | runs | {yname}: mean | min | max |")
    print("|---|---|---|---|---|---|")
    for race in ("false", "true", "held"):
        for x in sorted(data.get(race, {})):
            v = data[race][x]
            print(f"| {x:g} | {RACE_LABELS[race]} | {len(v)} | {statistics.mean(v):.2f} | "
                  f"{min(v):.2f} | {max(v):.2f} |")


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__.strip())
    rows, folder = load(argv[1]), argv[2]
    one = lambda r: r.get("settings.karts") == "1" and r.get("settings.fixed-grid") == "false"
    base = lambda r: one(r) and r.get("settings.seconds") == "10" and r.get("settings.grid") == "10"
    field = lambda r: r.get("settings.karts") == "20"

    fig, (best, mean) = plt.subplots(1, 2, figsize=(11, 4.2), sharey=True)
    best_laps = grouped(rows, base, "settings.futures", "race.best_lap_s")
    mean_laps = grouped(rows, base, "settings.futures", "race.mean_lap_s")
    held = lambda r: (r.get("settings.karts") == "1" and r.get("settings.fixed-grid") == "true"
                      and r.get("settings.grid") == "10" and r.get("settings.seconds") == "10")
    held_best = grouped(rows, held, "settings.futures", "race.best_lap_s")
    held_mean = grouped(rows, held, "settings.futures", "race.mean_lap_s")
    best_laps["held"], mean_laps["held"] = held_best.get("true", {}), held_mean.get("true", {})
    draw(best, best_laps, "futures per move", "best lap (simulated s)", log_x=True)
    draw(mean, mean_laps, "futures per move", "mean lap (simulated s)", log_x=True)
    best.set_title("One kart: best lap")
    mean.set_title("One kart: mean lap")
    fig.tight_layout()
    fig.savefig(f"{folder}/laps-vs-futures.png", dpi=110)

    fig, (wrong, stall) = plt.subplots(1, 2, figsize=(11, 4.2))
    wrong_karts = grouped(rows, field, "settings.futures", "race.wrong_way_karts")
    stalls = grouped(rows, field, "settings.futures", "race.longest_stall_s")
    draw(wrong, wrong_karts, "futures per kart and move", "karts against the field > 5 s",
         log_x=True)
    draw(stall, stalls, "futures per kart and move", "longest stand-still (simulated s)",
         log_x=True)
    wrong.set_title("Twenty karts from the grid")
    stall.set_title("Twenty karts from the grid")
    fig.tight_layout()
    fig.savefig(f"{folder}/wrongway-vs-futures.png", dpi=110)

    fig, (horizon, grid) = plt.subplots(1, 2, figsize=(11, 4.2), sharey=True)
    at4000 = lambda r: r.get("settings.futures") == "4000"
    horizons = grouped(rows, lambda r: one(r) and at4000(r) and r.get("settings.grid") == "10",
                       "settings.seconds", "race.mean_lap_s")
    grids = grouped(rows, lambda r: r.get("settings.karts") == "1" and at4000(r) and
                    r.get("settings.fixed-grid") == "true", "settings.grid", "race.mean_lap_s")
    draw(horizon, horizons, "futures' horizon (simulated s)", "mean lap (simulated s)")
    draw(grid, grids, "fixed end-point grid (px)", "mean lap (simulated s)")
    horizon.set_title("One kart, 4,000 futures: horizon")
    grid.set_title("One kart, 4,000 futures: fixed grid")
    fig.tight_layout()
    fig.savefig(f"{folder}/horizon-and-grid.png", dpi=110)

    table("One kart, best lap (s)", best_laps, "futures", "best lap")
    table("One kart, mean lap (s)", mean_laps, "futures", "mean lap")
    table("One kart, share of moves off the road",
          grouped(rows, base, "settings.futures", "race.off_road_share"), "futures", "off road")
    table("Twenty karts from the grid: karts against the field > 5 s", wrong_karts, "futures",
          "karts")
    table("Twenty karts from the grid: longest stand-still (s)", stalls, "futures", "seconds")
    table("One kart, 4,000 futures: mean lap by horizon", horizons, "seconds", "mean lap")
    table("One kart, 4,000 futures: mean lap by fixed grid", grids, "grid", "mean lap")


if __name__ == "__main__":
    main(sys.argv)
