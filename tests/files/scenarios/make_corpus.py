#!/usr/bin/env python3
"""Makes the refused-scenario corpus from one sound scenario (a small circuit, two karts).

Usage: make_corpus.py SOUND.json OUT_DIR
Each file gets one kind of damage; expected.txt lists, per file, the text its refusal must
contain (the field it names).
"""
import base64
import copy
import json
import struct
import sys

sound = json.load(open(sys.argv[1]))
out = sys.argv[2]
cases = []


def put(name, doc, expect, raw=None):
    text = raw if raw is not None else json.dumps(doc, indent=1)
    open(f"{out}/{name}.json", "w").write(text)
    cases.append((name, expect))


def mutate(name, expect, change):
    doc = copy.deepcopy(sound)
    change(doc)
    put(name, doc, expect)


whole = json.dumps(sound, indent=1)
put("truncated", None, "not JSON", raw=whole[: len(whole) // 2])
put("top-level-list", None, "top level", raw="[1, 2, 3]")
mutate("newer-version", "version 2 is newer", lambda d: d.update(version=2))
mutate("other-format", "format", lambda d: d.update(format="something-else"))
mutate("missing-karts", "karts is missing", lambda d: d.pop("karts"))
mutate("too-many-karts", "karts must be a list of 1 to 100",
       lambda d: d.update(karts=d["karts"] * 51))
mutate("friction-as-text", "track.friction", lambda d: d["track"].update(friction="0.015"))
mutate("huge-position", "karts[1].params[2].value",
       lambda d: d["karts"][1]["params"][2].update(value=1e300))
mutate("huge-passes", "futures.fixedPasses",
       lambda d: d["futures"].update(fixedPasses=4e9))
mutate("fractional-grid", "karts[0].gridSize", lambda d: d["karts"][0].update(gridSize=10.5))
mutate("renamed-param", "karts[0].params[0].name",
       lambda d: d["karts"][0]["params"][0].update(name="Sizes"))
mutate("missing-param", "karts[0].params must be a list of 14 entries",
       lambda d: d["karts"][0]["params"].pop())
mutate("negative-seed", "seed", lambda d: d.update(seed="-1"))
mutate("seed-as-number", "seed must be a string", lambda d: d.update(seed=5))
mutate("bad-random-word", "random[2]", lambda d: d["random"].__setitem__(2, "xyz"))
mutate("zero-random", "random must not be all zero",
       lambda d: d.update(random=["0" * 16] * 4))
mutate("picture-not-base64", "circuit.bmp", lambda d: d["circuit"].update(bmp="@@@@"))
mutate("picture-not-bmp", "circuit.bmp",
       lambda d: d["circuit"].update(bmp=base64.b64encode(b"GIF89a not a bmp").decode()))
bmp = base64.b64decode(sound["circuit"]["bmp"])
mutate("picture-cut", "circuit.bmp",
       lambda d: d["circuit"].update(bmp=base64.b64encode(bmp[: len(bmp) // 2]).decode()))
huge = bmp[:18] + struct.pack("<ii", 100000, 100000) + bmp[26:]
mutate("picture-huge-claim", "circuit.bmp",
       lambda d: d["circuit"].update(bmp=base64.b64encode(huge).decode()))
mutate("negative-move", "move", lambda d: d.update(move=-3))
mutate("chosen-kart-out-of-range", "chosenKart must be a whole number from 0 to 1",
       lambda d: d.update(chosenKart=2))
mutate("kart-not-object", "karts[1] must be an object", lambda d: d["karts"].__setitem__(1, 7))
# Values the program never reaches, each held to its parameter's own range.
mutate("size-zero", "karts[0].params[0].value", lambda d: d["karts"][0]["params"][0].update(value=0))
mutate("velocity-huge", "karts[0].params[5].value",
       lambda d: d["karts"][0]["params"][5].update(value=1e12))
mutate("power-bound-huge", "karts[1].params[8].max",
       lambda d: d["karts"][1]["params"][8].update(max=1e12))
mutate("power-huge", "karts[0].params[8].value",
       lambda d: d["karts"][0]["params"][8].update(value=1e12))
mutate("battery-bound-moved", "karts[0].params[9].min must be 0, the kart's own",
       lambda d: d["karts"][0]["params"][9].update(min=-50))
mutate("dead-half", "karts[0].params[1].value must be 0 or 1",
       lambda d: d["karts"][0]["params"][1].update(value=0.5))
mutate("seconds-past-the-options", "track.seconds must be a whole number from 1 to 20",
       lambda d: d["track"].update(seconds=60))
mutate("friction-zero", "track.friction", lambda d: d["track"].update(friction=0))
mutate("move-past-the-limit", "move must be a whole number from 0 to 1099511627776",
       lambda d: d.update(move=2**40 + 1))
mutate("score-factor-above-one", "karts[0].scoreFactor",
       lambda d: d["karts"][0].update(scoreFactor=5))

with open(f"{out}/expected.txt", "w") as f:
    for name, expect in cases:
        f.write(f"{name}.json\t{expect}\n")
