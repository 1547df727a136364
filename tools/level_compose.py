#!/usr/bin/env python3
"""Compiles a short level source into the level file the game reads.

    level_compose.py <assets-folder> <source.level> [<output>]

Writes <assets-folder>/<source's base name> unless <output> is given. One object per line:

    Name[:Archetype] x y [xN] [yN] [key=value ...]      # a comment runs to the end of a line

The object is called Name and takes every component line of the archetype file (Archetype, or
Name itself), its kit scale and z-layer; `xN` / `yN` repeat it N times side by side (one drawn
width or height apart), so a row of ground tiles is one line. A following line that starts with
"+" adds a component line the archetype lacks ("+ EndOfGame active false side false"). Keys:

    z=3  scale=64,64  rot=45 (degrees)  step=128,0 (the repeat's spacing)
    Component.member=value   replaces that member's value (Vector2D values as x,y)
    reset=Y                  PlayerControlComponent.levelReset
    camera=minX,maxX,minY,maxY   the player camera's bounds

A malformed line stops the compiler with the file and line named, writing nothing.
"""
import math
import os
import sys

# The kit's intended scale (half the drawn size) and z-layer of each archetype.
KIT = {
    "Player1": (32, 32, 4.85), "Crate": (32, 32, 3), "CrateBig": (64, 64, 3),
    "SandBlock": (32, 32, 3), "SandBlockBig": (64, 64, 3), "BreakBlock": (32, 32, 3),
    "BreakBlockWide": (64, 32, 3), "Movable": (32, 32, 3), "MovableBig": (64, 64, 3),
    "MovableReset": (32, 32, 3), "Wall": (32, 32, 3), "WallLong": (256, 32, 3),
    "WallTall": (32, 256, 3), "WallGround": (512, 64, 3), "InvisibleWall": (32, 32, 3),
    "Fan": (64, 192, 1), "FanTall": (64, 320, 1), "Cannon": (48, 48, 1), "Goal": (48, 48, 1),
    "Star": (24, 24, 4), "Teleporter": (48, 48, 1), "TeleporterExit": (48, 48, 1),
    "OneWayPlank": (64, 16, 3), "OneWayPlatform": (64, 16, 3), "Catapult": (96, 64, 1),
    "StarfallPlate": (64, 16, 3), "StarEnd": (30, 30, 5), "SignRoll": (160, 80, 1),
    "SignJump": (160, 80, 1), "SignSwitch": (160, 80, 1), "SignPause": (160, 80, 1),
    "BackgroundTutorial": (800, 450, 0), "BackgroundFans": (800, 450, 0),
    "BackgroundBlocks": (800, 450, 0), "BackgroundEnding": (800, 450, 0),
}

ALIASES = {"reset": ["PlayerControlComponent.levelReset"],
           "camera": ["CameraFollowComponent." + m for m in ("minX", "maxX", "minY", "maxY")]}


class SourceError(Exception):
    pass


def number(text):
    try:
        value = float(text)
    except ValueError:
        raise SourceError(f'"{text}" is not a number') from None
    if not math.isfinite(value):
        raise SourceError(f'"{text}" is not a finite number')
    return value


def numbers(text, count):
    parts = text.split(",")
    if len(parts) != count:
        raise SourceError(f'"{text}" needs {count} numbers separated by commas')
    return [number(p) for p in parts]


def set_member(lines, component, member, values):
    """Replaces a member's value tokens, each written the way the archetype writes it."""
    for i, line in enumerate(lines):
        tokens = line.split(" ")
        if tokens[0] != component:
            continue
        if member not in tokens[1:]:
            raise SourceError(f'{component} has no member "{member}"')
        at = tokens.index(member, 1) + 1
        for k, value in enumerate(values):
            old = tokens[at + k]
            if old.startswith('"'):
                tokens[at + k] = '"' + value.strip('"') + '"'
            elif "." in old:
                tokens[at + k] = f"{number(value):.9f}"
            else:
                tokens[at + k] = value
        lines[i] = " ".join(tokens)
        return
    raise SourceError(f"the archetype has no {component}")


def scale_collider(lines, fx, fy):
    """Keeps a resized piece's collider the size of its picture."""
    for i, line in enumerate(lines):
        tokens = line.split(" ")
        if tokens[0] == "BoxCollider2D":
            tokens[2] = f"{float(tokens[2]) * fx:.9f}"
            tokens[3] = f"{float(tokens[3]) * fy:.9f}"
        elif tokens[0] == "CircleCollider2D":
            tokens[2] = f"{float(tokens[2]) * min(fx, fy):.9f}"
        lines[i] = " ".join(tokens)


def archetype_lines(assets, archetype):
    path = os.path.join(assets, archetype)
    if archetype not in KIT or not os.path.isfile(path):
        raise SourceError(f'no archetype "{archetype}" in the kit')
    with open(path, encoding="utf-8") as f:
        return [l.rstrip("\n") for l in f if l.strip() and l.strip() != "Transform2D"]


def compile_line(assets, line, extra=()):
    """The object blocks of one source line, with `extra` component lines added to each."""
    words = line.split()
    name, _, archetype = words[0].partition(":")
    archetype = archetype or name
    lines = archetype_lines(assets, archetype) + [e + " " for e in extra]
    if len(words) < 3:
        raise SourceError("a line needs a name and a position x y")
    x, y = number(words[1]), number(words[2])
    sx, sy, z = KIT[archetype]
    rot, counts, step = 0.0, [1, 1], None
    for word in words[3:]:
        if word[0] in "xy" and word[1:].isdigit():
            counts["xy".index(word[0])] = int(word[1:])
            continue
        key, eq, value = word.partition("=")
        if not eq or not value:
            raise SourceError(f'"{word}" is not key=value')
        if key == "z":
            z = number(value)
        elif key == "scale":
            kx, ky = sx, sy
            sx, sy = numbers(value, 2)
            scale_collider(lines, sx / kx, sy / ky)
        elif key == "rot":
            rot = math.radians(number(value))
        elif key == "step":
            step = numbers(value, 2)
        elif key in ALIASES:
            targets = ALIASES[key]
            values = value.split(",")
            if len(values) != len(targets):
                raise SourceError(f'{key} needs {len(targets)} values')
            for target, v in zip(targets, values):
                set_member(lines, *target.split("."), [v])
        elif "." in key:
            set_member(lines, *key.split(".", 1), value.split(","))
        else:
            raise SourceError(f'unknown key "{key}"')
    dx, dy = step or (2 * sx, 2 * sy)
    blocks = []
    for j in range(counts[1]):
        for i in range(counts[0]):
            transform = " ".join(f"{v:.9f}" for v in (x + i * dx, y + j * dy, z, sx, sy, rot))
            blocks.append("\n".join([name, "{", "Transform2D " + transform, *lines, "}"]))
    return blocks


def compile_source(assets, path):
    entries = []  # [line number, object line, extra component lines]
    with open(path, encoding="utf-8") as f:
        for number_, raw in enumerate(f, 1):
            line = raw.split("#", 1)[0].strip()
            if line.startswith("+"):
                if not entries:
                    raise SourceError(f"{path}:{number_}: a component line before any object")
                entries[-1][2].append(line[1:].strip())
            elif line:
                entries.append([number_, line, []])
    blocks = []
    for number_, line, extra in entries:
        try:
            blocks += compile_line(assets, line, extra)
        except SourceError as error:
            raise SourceError(f"{path}:{number_}: {error}") from None
    return "\n\n".join(blocks) + "\n"


def main(argv):
    if len(argv) not in (3, 4) or argv[1] in ("-h", "--help"):
        print(__doc__.strip())
        return 0 if len(argv) > 1 and argv[1] in ("-h", "--help") else 2
    assets, source = argv[1], argv[2]
    output = argv[3] if len(argv) == 4 else os.path.join(
        assets, os.path.splitext(os.path.basename(source))[0])
    try:
        text = compile_source(assets, source)
    except (SourceError, OSError) as error:
        print(f"level_compose: {error}", file=sys.stderr)
        return 1
    temporary = output + ".tmp"
    with open(temporary, "w", encoding="utf-8") as f:
        f.write(text)
    os.replace(temporary, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
