#!/usr/bin/env python3
"""Makes every sound of the game into assets/Sounds/ as Ogg Vorbis, and their pictures into
docs/sound/.

Sound effects are synthesised here (oscillators, noise, envelopes, pitch sweeps), mono, so that the
game can place them left or right; the wind loops are stereo ambience. The music is composed here
as notes, written as MIDI, rendered in stereo by FluidSynth with the General MIDI soundfont and
encoded with oggenc. Everything is 44.1 kHz, the rate OpenAL Soft mixes at unless told otherwise,
so nothing is resampled on its way out; every file has its DC offset filtered away.

Each looping piece is rendered twice in a row and the second pass is kept, so the notes and reverb
still ringing at its end are exactly what rings at its start: the loop has no seam. The in-game
piece is four stems of one length (keys and bass, melody, pizzicato, percussion) that the event
bank fades between, in five sections of eight bars that the bank's "StateChange" states move
between.

Needs python3, fluidsynth, fluid-soundfont-gm (/usr/share/sounds/sf2/FluidR3_GM.sf2), vorbis-tools
(oggenc), sox and ffmpeg. Players never run this: the .ogg files and pictures are committed.
Usage: tools/make_sounds.py [--report]   (--report prints levels, loudness and loop seams and
redraws the pictures, without making the sounds)
"""
import array
import math
import os
import random
import re
import struct
import subprocess
import sys
import tempfile
import wave

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
OUT = os.path.join(ROOT, "assets", "Sounds")
PICTURES = os.path.join(ROOT, "docs", "sound")
SOUNDFONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"
RATE = 44100
PEAK = 10 ** (-1.0 / 20)  # effects peak at -1 dBFS in their files; the bank sets their level


# ---------------------------------------------------------------- sound effects

def envelope(t, attack, decay):
    """A raised-cosine attack (no corner to click on), then an exponential decay (seconds to 1/e)."""
    if t < attack:
        return 0.5 - 0.5 * math.cos(math.pi * t / attack)
    return math.exp(-(t - attack) / decay)


class Noise:
    def __init__(self, seed):
        self.random = random.Random(seed)

    def white(self):
        return self.random.uniform(-1.0, 1.0)


class OnePole:
    """One-pole low-pass at `cutoff` Hz."""

    def __init__(self, cutoff):
        self.a = 1.0 - math.exp(-2.0 * math.pi * cutoff / RATE)
        self.y = 0.0

    def __call__(self, x):
        self.y += self.a * (x - self.y)
        return self.y


def sweep(seconds, f0, f1, shape, attack, decay, noise=0.0, seed=1, harmonics=(1.0,)):
    """A tone gliding exponentially from f0 to f1 with a touch of noise."""
    n = int(seconds * RATE)
    out = []
    phase = 0.0
    hiss = Noise(seed)
    low = OnePole(3000)
    for i in range(n):
        t = i / RATE
        f = f0 * (f1 / f0) ** (t / seconds)
        phase += 2 * math.pi * f / RATE
        s = sum(a * shape(phase * (k + 1)) for k, a in enumerate(harmonics))
        s += noise * low(hiss.white())
        out.append(s * envelope(t, attack, decay))
    return out


def sine(p):
    return math.sin(p)


def triangle(p):
    return 2.0 / math.pi * math.asin(math.sin(p))


def bell(freq, seconds, decay, start=0.0, total=None):
    """An inharmonic bell partial stack (struck metal), placed at `start` seconds."""
    partials = [(1.0, 1.0), (2.0, 0.45), (3.0, 0.2), (4.16, 0.12), (5.43, 0.06)]
    n = int((total or seconds) * RATE)
    out = [0.0] * n
    first = int(start * RATE)
    for i in range(first, min(n, first + int(seconds * RATE))):
        t = (i - first) / RATE
        s = 0.0
        for ratio, amp in partials:
            s += amp * math.exp(-t * ratio / decay) * math.sin(2 * math.pi * freq * ratio * t)
        out[i] = s * (0.5 - 0.5 * math.cos(math.pi * min(1.0, t / 0.004)))
    return out


def mix(*tracks):
    n = max(len(t) for t in tracks)
    return [sum(t[i] for t in tracks if i < len(t)) for i in range(n)]


def remove_dc(samples, cutoff=25.0):
    """A DC blocker: a first-order high-pass far below anything heard."""
    r = math.exp(-2.0 * math.pi * cutoff / RATE)
    out, x1, y1 = [], 0.0, 0.0
    for x in samples:
        y1 = x - x1 + r * y1
        x1 = x
        out.append(y1)
    return out


def trim(samples, floor=10 ** (-66 / 20)):
    """Cuts the silence before the first and after the last sample above `floor` of the peak."""
    top = max(abs(s) for s in samples) or 1.0
    loud = [i for i, s in enumerate(samples) if abs(s) > floor * top]
    return samples[loud[0]:loud[-1] + 1] if loud else samples


def edges(samples, fade_in=0.002, fade_out=0.015):
    """Raised-cosine fades at both ends, so neither starts nor ends on a step."""
    n_in, n_out = max(1, int(fade_in * RATE)), max(1, int(fade_out * RATE))
    out = list(samples)
    for i in range(min(n_in, len(out))):
        out[i] *= 0.5 - 0.5 * math.cos(math.pi * i / n_in)
    for i in range(min(n_out, len(out))):
        out[-1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / n_out)
    return out


def normalise(samples, peak=PEAK):
    top = max(abs(s) for s in samples) or 1.0
    return [s * peak / top for s in samples]


def finish(samples):
    """Every effect: no DC, no silence at either end, soft edges, peak at PEAK."""
    return normalise(edges(trim(remove_dc(samples))))


def seamless_loop(samples, overlap):
    """Folds the last `overlap` samples over the first with an equal-power crossfade."""
    body = samples[:-overlap]
    tail = samples[-overlap:]
    for i in range(overlap):
        x = i / overlap
        body[i] = body[i] * math.sin(x * math.pi / 2) + tail[i] * math.cos(x * math.pi / 2)
    return body


def wind(seconds, cutoff, gust_hz, depth, seed, phase=0.0):
    """Filtered noise with slow swells; gust_hz divides the loop so the swells loop too."""
    overlap = int(0.5 * RATE)
    n = int(seconds * RATE) + overlap
    hiss = Noise(seed)
    band_low, band_high = OnePole(cutoff), OnePole(cutoff * 0.25)
    out = []
    for i in range(n):
        t = i / RATE
        x = hiss.white()
        s = band_low(x) - 0.6 * band_high(x)  # a soft band-pass: whistle without rumble mud
        swell = 1.0 - depth + depth * (0.5 + 0.5 * math.sin(2 * math.pi * gust_hz * t + phase))
        out.append(s * swell)
    return seamless_loop(remove_dc(out), overlap)


def stereo_wind(seconds, cutoff, gust_hz, depth, seed):
    """Two decorrelated channels whose swells lean a little apart: wind all around."""
    left = wind(seconds, cutoff, gust_hz, depth, seed, 0.0)
    right = wind(seconds, cutoff, gust_hz, depth, seed + 100, 0.6)
    top = max(max(abs(s) for s in left), max(abs(s) for s in right))
    return [s * PEAK / top for pair in zip(left, right) for s in pair]


# G major: the music's key, which pitched effects keep to.
G3, D4, G4, B4, D5, G5, B5, D6 = 196.0, 293.66, 392.0, 493.88, 587.33, 783.99, 987.77, 1174.66


def effects():
    """Every mono sound effect, by file name."""
    sounds = {}
    # Jumping: a light upward glide from D4 to D5.
    sounds["player_jump"] = sweep(0.26, D4, D5, triangle, 0.008, 0.07, noise=0.05,
                                  harmonics=(1.0, 0.25))
    # Falling out: a round glide down from G4 to G3, a low sine under it.
    sounds["player_defeat"] = mix(
        sweep(0.55, G4, G3, triangle, 0.01, 0.22, noise=0.04, seed=2, harmonics=(1.0, 0.3)),
        [0.3 * s for s in sweep(0.55, G3, G3 / 2, sine, 0.01, 0.25, seed=3)])
    gust = wind(0.8, 1400, 0.0, 0.0, seed=6)[: int(0.55 * RATE)]
    sounds["wind_gust"] = [s * math.sin(math.pi * i / len(gust)) ** 2 for i, s in enumerate(gust)]
    thump = sweep(0.45, 170, 45, sine, 0.004, 0.12, seed=7)
    whoosh = sweep(0.45, 900, 300, sine, 0.02, 0.1, noise=1.2, seed=8, harmonics=(0.05,))
    sounds["star_cannon"] = mix(thump, [0.6 * s for s in whoosh])
    # The goal: G B D G rising as bells, the brightest sound of the game with the star.
    notes = [G5, B5, D6, G5 * 2]
    sounds["level_complete"] = mix(*[bell(f, 0.6 - 0.08 * k, 0.22, 0.08 * k, 0.6)
                                     for k, f in enumerate(notes)])
    sounds["star_collect"] = mix(bell(B5 * 2, 0.45, 0.16, 0.0, 0.5),
                                 bell(D6 * 2, 0.4, 0.2, 0.06, 0.5))
    crunch = []
    grains = Noise(9)
    for k in range(6):  # a few bursts of gravel, each darker than the last
        start = 0.012 * k + 0.03 * grains.random.random() * k
        burst = sweep(0.12, 1200 - 150 * k, 500, sine, 0.002, 0.03, noise=1.5, seed=10 + k,
                      harmonics=(0.02,))
        crunch.append([0.0] * int(start * RATE) + [s * (1.0 - 0.12 * k) for s in burst])
    body = sweep(0.35, 120, 60, sine, 0.003, 0.08, seed=20)
    sounds["breaking_blocks"] = mix(body, *crunch)
    return {name: finish(samples) for name, samples in sounds.items()}


def ambience():
    """The wind loops, stereo, by file name: heavy is low and slow, light is high and quick."""
    return {"wind_heavy": stereo_wind(6.0, 700, 1 / 3.0, 0.55, seed=4),
            "wind_light": stereo_wind(6.0, 2400, 1 / 2.0, 0.4, seed=5)}


def write_wav(path, samples, channels=1):
    with wave.open(path, "wb") as out:
        out.setnchannels(channels)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(array.array("h", (int(round(max(-1.0, min(1.0, s)) * 32767))
                                          for s in samples)).tobytes())


# ---------------------------------------------------------------- music

NOTE = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def pitch(name):
    """'F#4' -> MIDI note number."""
    letter, rest = name[0], name[1:]
    accidental = 0
    while rest and rest[0] in "#b":
        accidental += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + NOTE[letter] + accidental


class Part:
    """One instrument's notes: (start beat, length in beats, MIDI note, velocity), with program
    changes at given beats (a part may change instrument from section to section)."""

    def __init__(self, program, channel, volume=100, pan=64, reverb=60, chorus=0):
        self.channel = channel
        self.volume, self.pan, self.reverb, self.chorus = volume, pan, reverb, chorus
        self.programs = [(0, program)]
        self.notes = []

    def add(self, beat, length, note, velocity=80):
        self.notes.append((beat, length, pitch(note) if isinstance(note, str) else note, velocity))

    def program_at(self, beat, program):
        self.programs.append((beat, program))


def write_midi(path, parts, bpm, beats, passes):
    """A one-track MIDI file playing `parts` `passes` times, then two bars of silence for tails.

    Every note sounds LEAD_IN ticks late, so a loop cut on the beat wraps in the quiet just before
    a downbeat rather than on the first sample of its attacks, and a jump made on a bar line has
    crossfaded before the new bar's first note."""
    ticks = 480
    events = []
    for part in parts:
        c = part.channel
        for cc, value in ((7, part.volume), (10, part.pan), (91, part.reverb), (93, part.chorus)):
            events.append((0, 0, bytes([0xB0 | c, cc, value])))
        for p in range(passes):
            for beat, program in part.programs:
                events.append((round((beat + p * beats) * ticks), 0, bytes([0xC0 | c, program])))
            for beat, length, note, velocity in part.notes:
                on = round((beat + p * beats) * ticks) + LEAD_IN
                off = round((beat + length + p * beats) * ticks) - 1 + LEAD_IN
                events.append((on, 2, bytes([0x90 | c, note, velocity])))
                events.append((off, 1, bytes([0x80 | c, note, 0])))
    end = (passes * beats + 8) * ticks
    events.sort(key=lambda e: (e[0], e[1]))
    track = bytearray()
    tempo = 60_000_000 // bpm
    track += b"\x00\xff\x51\x03" + tempo.to_bytes(3, "big")
    now = 0
    for time, _, data in events:
        track += varlen(time - now) + data
        now = time
    track += varlen(end - now) + b"\xff\x2f\x00"
    with open(path, "wb") as out:
        out.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, ticks))
        out.write(b"MTrk" + struct.pack(">I", len(track)) + track)


LEAD_IN = 12  # ticks of 1/480 beat: 15 ms at 100 beats a minute


def varlen(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(out)


CHORD_SHAPES = {"": (0, 4, 7), "m": (0, 3, 7), "sus": (0, 5, 7), "7": (0, 4, 7, 10),
                "m7": (0, 3, 7, 10), "maj7": (0, 4, 7, 11), "add9": (0, 4, 7, 14)}


def chord(name):
    """'G' / 'Em' / 'D/F#' / 'Am7' -> (bass MIDI note near G2, chord tones near C4)."""
    symbol, _, bass = name.partition("/")
    match = re.fullmatch(r"([A-G][#b]?)(.*)", symbol)
    root, shape = match.group(1), match.group(2)
    low = pitch(root + "3")
    if low > pitch("B3"):
        low -= 12
    tones = [low + i for i in CHORD_SHAPES[shape]]
    # Voiced close around middle C: each tone folded into G3..F#4, then sorted.
    voiced = sorted(pitch("G3") + (t - pitch("G3")) % 12 for t in tones)
    bass_note = pitch((bass or root) + "2")
    if bass_note > pitch("D3"):
        bass_note -= 12
    return bass_note, voiced


def melody(part, start_bar, bars, beats_per_bar, velocity=78):
    """Adds bars written as "note:beats ..." strings ("r" rests) from bar `start_bar`."""
    for b, text in enumerate(bars):
        beat = (start_bar + b) * beats_per_bar
        for token in text.split():
            note, length = token.split(":")
            if note != "r":
                accent = velocity + (6 if beat % beats_per_bar == 0 else 0)
                part.add(beat, float(length), note, min(127, accent))
            beat += float(length)


# The in-game piece: G major, 4/4 at 100 beats a minute, five sections of eight bars (19.2 s each,
# 96 s in all) in four-bar phrases, each with its own tune, comping and texture over its own
# progression. The event bank's "StateChange" states start the sections.
GAME_BPM, GAME_BAR = 100, 4
GAME_SECTIONS = [
    {   # A: the theme, on the marimba; chords held, the pizzicato in quarters
        "chords": ["G", "D/F#", "Em", "C", "G", "D", "C", "D"],
        "lead": 12, "comp": [(0, 2), (2, 2)], "pluck": "quarters", "beat": "light",
        "tune": ["D5:1.5 B4:.5 G4:1 B4:1", "A4:1.5 F#4:.5 D4:1 A4:1", "B4:1 G4:.5 B4:.5 E5:1.5 D5:.5",
                 "C5:1 E5:1 G4:2", "D5:1.5 B4:.5 G5:1 F#5:.5 E5:.5", "D5:1 A4:1 F#4:1 A4:1",
                 "G4:.5 A4:.5 C5:.5 E5:.5 D5:1 C5:1", "B4:1 A4:1 r:2"],
    },
    {   # B: the answer, on the vibraphone, in the relative minor's colour; syncopated chords
        "chords": ["Em", "C", "G", "D", "Em", "C", "Am7", "D"],
        "lead": 11, "comp": [(0, 1.5), (1.5, 1), (2.5, 1.5)], "pluck": "eighths", "beat": "full",
        "tune": ["E5:1 G5:1 F#5:.5 E5:.5 D5:1", "E5:2 C5:1 r:1", "D5:1 B4:1 D5:.5 E5:.5 G5:1",
                 "F#5:3 r:1", "G5:1 F#5:.5 E5:.5 B4:1 E5:1", "C5:.5 D5:.5 E5:1 G5:1.5 E5:.5",
                 "A5:1 G5:.5 E5:.5 C5:1 E5:1", "D5:2 F#5:1 A5:1"],
    },
    {   # C: the middle, sparse: long chords, the pizzicato carries the line
        "chords": ["Cmaj7", "D", "Bm", "Em", "Am7", "D", "G", "G"],
        "lead": 12, "comp": [(0, 4)], "pluck": "line", "beat": "sparse",
        "tune": ["r:1 G5:1 E5:1 C5:1", "D5:2 A4:2", "r:1 F#5:1 D5:1 B4:1", "E5:3 r:1",
                 "C6:1 B5:.5 A5:.5 E5:2", "F#5:1 A5:1 D6:2", "B5:1.5 A5:.5 G5:1 D5:1", "G5:3 r:1"],
    },
    {   # D: the lively one, running eighths on the vibraphone
        "chords": ["G", "Bm", "C", "D", "G", "Bm", "C", "D"],
        "lead": 11, "comp": [(0, 1), (1.5, 1), (2.5, 0.5), (3, 1)], "pluck": "offbeats",
        "beat": "full",
        "tune": ["G4:.5 B4:.5 D5:.5 G5:.5 F#5:.5 D5:.5 B4:1",
                 "F#4:.5 B4:.5 D5:.5 F#5:.5 E5:.5 D5:.5 B4:1",
                 "E4:.5 G4:.5 C5:.5 E5:.5 D5:.5 C5:.5 G4:1", "F#4:.5 A4:.5 D5:.5 F#5:.5 A5:2",
                 "B5:1 A5:.5 G5:.5 D5:1 G5:1", "F#5:1 E5:.5 D5:.5 B4:2",
                 "C5:.5 E5:.5 G5:.5 C6:.5 B5:1 G5:1", "A5:2 F#5:1 D5:1"],
    },
    {   # E: the way home, on the marimba, calmer, ending on a pickup into the theme
        "chords": ["Am7", "D", "G", "Em", "C", "D", "G", "Gsus"],
        "lead": 12, "comp": [(0, 2), (2, 2)], "pluck": "quarters", "beat": "light",
        "tune": ["C5:1.5 B4:.5 A4:1 E5:1", "D5:1.5 C5:.5 A4:2", "B4:1 D5:1 G5:1 D5:1", "E5:2 B4:2",
                 "C5:1 E5:1 G5:1.5 E5:.5", "F#5:1 E5:1 D5:1 A4:1", "B4:1.5 A4:.5 G4:2",
                 "r:2 B4:1 C5:1"],
    },
]
SECTION_BARS = 8
# GM drum notes: shaker, high and low woodblock, a soft kick, the open triangle.
SHAKER, WOOD_HIGH, WOOD_LOW, KICK, TRIANGLE = 82, 76, 77, 35, 81


def pluck_pattern(kind, bass, tones, start, bar):
    """The pizzicato strings' notes over one bar: (beat, beats, note, velocity)."""
    up = [t + 12 for t in tones]
    if kind == "quarters":
        return [(start + k, 1, n, 60 if k % 2 else 68)
                for k, n in enumerate([up[0], up[2], up[1], up[2]])]
    if kind == "eighths":
        seq = [up[0], up[1], up[2], up[1] + 12, up[2], up[1], up[0] + 12, up[2]]
        return [(start + 0.5 * k, 0.5, n, 64 if k % 2 == 0 else 54) for k, n in enumerate(seq)]
    if kind == "offbeats":
        return [(start + k + 0.5, 0.5, up[k % 3], 58) for k in range(4)] + \
               [(start, 0.5, bass + 24, 66)]
    # "line": a slow rising counter-line in the bars where the tune rests
    return [(start, 2, up[0] + (12 if bar % 2 else 0), 62), (start + 2, 2, up[1] + 12, 58)]


def beat_pattern(kind, start):
    """The percussion over one bar: (beat, beats, GM drum note, velocity)."""
    notes = []
    if kind in ("light", "full"):
        notes += [(start + 0.5 * k, 0.5, SHAKER, 46 if k % 2 == 0 else 34) for k in range(8)]
        notes += [(start + 1, 0.5, WOOD_HIGH, 40), (start + 3, 0.5, WOOD_LOW, 40)]
    if kind == "full":
        notes += [(start, 1, KICK, 52), (start + 2.5, 0.5, KICK, 40), (start + 3.5, 0.5,
                                                                        WOOD_HIGH, 30)]
    if kind == "sparse":
        notes += [(start, 1, SHAKER, 40), (start + 2, 1, SHAKER, 36), (start + 3, 0.5, WOOD_LOW, 34)]
    return notes


def game_stems():
    keys = Part(4, 0, volume=84, pan=54, reverb=64)  # electric piano
    bass = Part(32, 1, volume=96, pan=64, reverb=30)             # acoustic bass
    lead = Part(12, 2, volume=100, pan=74, reverb=70)            # marimba / vibraphone
    pluck = Part(45, 3, volume=80, pan=40, reverb=70)            # pizzicato strings
    drums = Part(0, 9, volume=88, pan=64, reverb=40)             # the standard kit
    for s, section in enumerate(GAME_SECTIONS):
        first = s * SECTION_BARS
        lead.program_at(first * GAME_BAR, section["lead"])
        melody(lead, first, section["tune"], GAME_BAR)
        for b, name in enumerate(section["chords"]):
            bar = first + b
            start = bar * GAME_BAR
            low, tones = chord(name)
            for offset, length in section["comp"]:
                for t in tones:
                    keys.add(start + offset, length, t, 50 if offset else 56)
            bass.add(start, 2, low, 74)
            bass.add(start + 2, 1.5 if section["beat"] != "sparse" else 2, low + 7, 62)
            if section["beat"] != "sparse":
                bass.add(start + 3.5, 0.5, low + 12, 56)
            for note in pluck_pattern(section["pluck"], low, tones, start, b):
                pluck.add(*note)
            for note in beat_pattern(section["beat"], start):
                drums.add(*note)
        drums.add(first * GAME_BAR, 2, TRIANGLE, 44)  # each section rings in
    beats = len(GAME_SECTIONS) * SECTION_BARS * GAME_BAR
    return beats, {"music_game_keys": [keys, bass], "music_game_lead": [lead],
                   "music_game_pluck": [pluck], "music_game_beat": [drums]}


# The start menu: G major too, 4/4 at 90 beats a minute, three phrases of eight bars (64 s): a
# vibraphone over a warm pad and a slow piano, sparser than the game, so pausing steps aside.
MENU_BPM, MENU_BAR = 90, 4
MENU_CHORDS = ["G", "Em", "Cmaj7", "D", "G", "Em", "Cmaj7", "Dsus",
               "Em", "C", "G", "D", "Em", "C", "Am7", "D",
               "C", "G/B", "Am7", "Em", "C", "D", "G", "G"]
MENU_TUNE = ["B4:2 D5:2", "E5:3 r:1", "G5:2 E5:1 D5:1", "A4:3 r:1",
             "B4:2 D5:1 G5:1", "G5:2 F#5:1 E5:1", "E5:4", "D5:3 r:1",
             "r:1 B4:1 E5:1 G5:1", "G5:2 E5:2", "D5:2 B4:2", "A4:3 r:1",
             "r:1 E5:1 G5:1 B5:1", "A5:2 G5:1 E5:1", "C5:2 E5:2", "F#5:3 r:1",
             "E5:2 G5:2", "D5:3 r:1", "C5:2 E5:1 A5:1", "G5:2 B4:2",
             "C5:1.5 D5:.5 E5:2", "F#5:2 A5:2", "G5:4", "r:4"]


def menu_parts():
    vibes = Part(11, 0, volume=92, pan=72, reverb=90)
    pad = Part(89, 1, volume=66, pan=64, reverb=80)    # warm pad
    piano = Part(0, 2, volume=72, pan=52, reverb=76)
    bass = Part(32, 3, volume=74, pan=64, reverb=40)
    melody(vibes, 0, MENU_TUNE, MENU_BAR, velocity=70)
    for bar, name in enumerate(MENU_CHORDS):
        start = bar * MENU_BAR
        low, tones = chord(name)
        for t in tones:
            pad.add(start, MENU_BAR, t, 46)
        bass.add(start, 3, low, 58)
        for k, t in enumerate([tones[0] + 12, tones[-1] + 12, tones[1] + 12, tones[-1] + 12]):
            piano.add(start + k, 1, t, 40 if k else 46)
    return len(MENU_CHORDS) * MENU_BAR, [vibes, pad, piano, bass]


def render_loop(work, name, parts, bpm, beats):
    """Renders `parts` as a seamless stereo loop of `beats` beats into work/<name>.wav."""
    mid = os.path.join(work, name + ".mid")
    raw = os.path.join(work, name + ".raw.wav")
    write_midi(mid, parts, bpm, beats, passes=2)
    # FluidSynth applies events at 64-sample block boundaries: with the loop a whole number of
    # blocks long, the second pass is exactly the first shifted, ringing tails included. The DC
    # filter runs over both passes, so its state at the cut is settled too.
    assert beats * 60 * RATE % (bpm * 64) == 0, "the loop must span whole render blocks"
    # No chorus: its modulation runs free of the notes, so the second pass would not match the
    # first and the loop would step at its seam.
    subprocess.run(["fluidsynth", "-ni", "-q", "-C", "0", "-g", "0.5", "-r", str(RATE), "-F", raw,
                    "-T", "wav", SOUNDFONT, mid], check=True, stdout=subprocess.DEVNULL)
    loop = beats * 60 * RATE // bpm
    out = os.path.join(work, name + ".wav")
    subprocess.run(["sox", raw, "-b", "16", out, "highpass", "-1", "20", "trim", f"{loop}s",
                    f"{loop}s"], check=True)
    return out


def ebur128(path):
    """(integrated loudness LUFS, true peak dBTP) by ffmpeg's EBU R128 meter."""
    result = subprocess.run(["ffmpeg", "-nostats", "-hide_banner", "-i", path, "-af",
                             "ebur128=peak=true", "-f", "null", "-"], capture_output=True,
                            text=True)
    summary = result.stderr[result.stderr.rfind("Summary:"):]
    loudness = float(re.search(r"I:\s+(-?[\d.]+|-inf) LUFS", summary).group(1))
    peak = re.search(r"Peak:\s+(-?[\d.]+|-inf) dBFS", summary)
    return loudness, float(peak.group(1)) if peak else float("-inf")


def sox_stats(path):
    result = subprocess.run(["sox", path, "-n", "stats"], capture_output=True, text=True)
    stats = {}
    for line in result.stderr.splitlines():
        parts = line.split()
        if line.startswith("Pk lev dB"):
            stats["peak"] = float(parts[3])
        elif line.startswith("RMS lev dB"):
            stats["rms"] = float(parts[3])
        elif line.startswith("DC offset"):
            stats["dc"] = float(parts[2])
    return stats


def mix_wavs(paths, out, gains=None):
    """Sums the files (sox -m alone would scale each by 1/n)."""
    args = []
    for path, gain in zip(paths, gains or [1.0] * len(paths)):
        args += ["-v", str(gain), path]
    command = ["sox", "-m", *args, "-b", "16", out] if len(paths) > 1 else \
        ["sox", *args, "-b", "16", out]
    subprocess.run(command, check=True)


def gain_to(path, out, db):
    subprocess.run(["sox", path, "-b", "16", out, "gain", f"{db:.2f}"], check=True)


def encode(wav, name, quality, ceiling=-1.2):
    """Encodes, then lowers and encodes again while the decoded peak is above `ceiling` dBFS
    (the encoder's ringing can lift a peak by a decibel or two)."""
    out = os.path.join(OUT, name + ".ogg")
    for attempt in range(4):
        subprocess.run(["oggenc", "-Q", "-q", str(quality), wav, "-o", out], check=True)
        peak = sox_stats(out)["peak"]
        if peak <= ceiling:
            return
        quieter = f"{wav}.{attempt}.wav"
        gain_to(wav, quieter, ceiling - peak - 0.3)
        wav = quieter


# Both pieces' full mixes sit here in their files; the bank's volumes set them in the game.
MUSIC_LUFS = -16.0
# The stems' balance inside the in-game piece (RMS dBFS before the common gain).
STEM_RMS = {"music_game_keys": -22.0, "music_game_lead": -23.0, "music_game_pluck": -27.0,
            "music_game_beat": -31.0}
GAME_STEMS = list(STEM_RMS)


def music(work):
    beats, stems = game_stems()
    rendered = {}
    for name, parts in stems.items():
        raw = render_loop(work, name, parts, GAME_BPM, beats)
        rendered[name] = raw + ".trim.wav"
        gain_to(raw, rendered[name], STEM_RMS[name] - sox_stats(raw)["rms"])
    full = os.path.join(work, "game_full.wav")
    mix_wavs(list(rendered.values()), full)
    loudness, peak = ebur128(full)
    # One gain for every stem keeps their balance; the louder of loudness and peak decides.
    db = min(MUSIC_LUFS - loudness, -1.5 - peak)
    for name, path in rendered.items():
        gain_to(path, path + ".g.wav", db)
        encode(path + ".g.wav", name, 2)

    menu_beats, parts = menu_parts()
    menu = render_loop(work, "music_menu", parts, MENU_BPM, menu_beats)
    loudness, peak = ebur128(menu)
    gain_to(menu, menu + ".g.wav", min(MUSIC_LUFS - loudness, -1.5 - peak))
    encode(menu + ".g.wav", "music_menu", 2)


# ---------------------------------------------------------------- report and pictures

LOOPS = ["music_game_keys", "music_game_lead", "music_game_pluck", "music_game_beat",
         "music_menu", "wind_heavy", "wind_light"]


def decoded(name, work):
    wav = os.path.join(work, name + ".dec.wav")
    subprocess.run(["sox", os.path.join(OUT, name + ".ogg"), "-b", "16", wav], check=True)
    with wave.open(wav) as f:
        channels, frames, rate = f.getnchannels(), f.getnframes(), f.getframerate()
        data = array.array("h", f.readframes(frames))
    return wav, channels, rate, [data[c::channels] for c in range(channels)]


def seam(channels):
    """The step across the loop's wrap against the file's own sample-to-sample steps (99th
    percentile): a seam no bigger than the music's own steps cannot be heard."""
    jump = max(abs(ch[0] - ch[-1]) for ch in channels)
    steps = sorted(abs(ch[i] - ch[i - 1]) for ch in channels for i in range(1, len(ch)))
    return jump, steps[int(0.99 * (len(steps) - 1))]


def bank_line(path):
    with open(os.path.join(ROOT, "assets", "SoundBank")) as bank:
        for line in bank:
            tokens = line.split("#")[0].split()
            if tokens and tokens[0] == path:
                return tokens
    return []


def bank_states():
    """The in-game music's "StateChange" states: (value, layer gains, section or None)."""
    tokens = bank_line("Music/In_Game_Music_01")
    states = []
    for t in tokens[tokens.index("StateChange:") + 1:] if "StateChange:" in tokens else []:
        key, _, value = t.partition("=")
        if key in ("start", "fade"):
            continue
        gains, _, section = value.partition("@")
        states.append((key, [float(g) for g in gains.split("/")], section or None))
    return states


def spectrogram(wav, png, title, seconds):
    os.makedirs(PICTURES, exist_ok=True)
    width = max(400, min(1600, int(seconds * 16)))
    subprocess.run(["sox", wav, "-n", "remix", "-", "spectrogram", "-x", str(width), "-y", "257",
                    "-z", "90", "-t", title, "-o", png], check=True)


def pictures(work):
    """One spectrogram per loop, one of every effect in a row, one of every loop's seam: the last
    and first second of each loop joined as the game plays them."""
    for name in LOOPS:
        wav, _, rate, channels = decoded(name, work)
        spectrogram(wav, os.path.join(PICTURES, name + ".png"), name + ".ogg",
                    len(channels[0]) / rate)
    effects_row = []
    for name in sorted(n[:-4] for n in os.listdir(OUT) if n.endswith(".ogg")):
        if name not in LOOPS:
            wav, _, _, _ = decoded(name, work)
            effects_row += [wav, os.path.join(work, "gap.wav")]
    subprocess.run(["sox", "-n", "-r", str(RATE), "-c", "1", "-b", "16",
                    os.path.join(work, "gap.wav"), "trim", "0", "0.25"], check=True)
    row = os.path.join(work, "effects_row.wav")
    subprocess.run(["sox", *effects_row, row], check=True)
    spectrogram(row, os.path.join(PICTURES, "effects.png"),
                "effects: " + ", ".join(sorted(n[:-4] for n in os.listdir(OUT)
                                               if n.endswith(".ogg") and n[:-4] not in LOOPS)),
                60)
    seams = []
    for name in LOOPS:
        wav = os.path.join(work, name + ".dec.wav")
        tail, head = os.path.join(work, name + ".tail.wav"), os.path.join(work, name + ".head.wav")
        # Only the outer ends fade (into the gaps between loops); the seam itself stays as is.
        subprocess.run(["sox", wav, "-c", "2", tail, "trim", "-1", "fade", "h", "0.1"],
                       check=True)
        subprocess.run(["sox", wav, "-c", "2", head, "trim", "0", "1", "fade", "h", "0", "1",
                        "0.1"], check=True)
        seams += [tail, head, os.path.join(work, "gap2.wav")]
    subprocess.run(["sox", "-n", "-r", str(RATE), "-c", "2", "-b", "16",
                    os.path.join(work, "gap2.wav"), "trim", "0", "0.5"], check=True)
    row = os.path.join(work, "seams_row.wav")
    subprocess.run(["sox", *seams, row], check=True)
    spectrogram(row, os.path.join(PICTURES, "loop_seams.png"),
                "loop seams, each 1 s before | 1 s after: " + ", ".join(LOOPS), 60)


def report(work):
    print(f"{'file':20} {'sec':>6} {'Hz':>5} {'ch':>2} {'DC':>8} {'peak dBFS':>9} {'LUFS':>6}"
          f" {'seam step vs p99':>17}")
    names = sorted(n[:-4] for n in os.listdir(OUT) if n.endswith(".ogg"))
    for name in names:
        wav, count, rate, channels = decoded(name, work)
        stats = sox_stats(wav)
        seconds = len(channels[0]) / rate
        # The meter integrates over 400 ms blocks: shorter sounds have no integrated loudness.
        loudness = f"{ebur128(wav)[0]:6.1f}" if seconds >= 0.4 else "-"
        seam_text = "%d vs %d" % seam(channels) if name in LOOPS else "-"
        print(f"{name:20} {seconds:6.2f} {rate:5d} {count:2d} "
              f"{stats.get('dc', 0):8.5f} {stats['peak']:9.2f} {loudness:>6} {seam_text:>17}")
    for value, gains, section in bank_states():
        state = os.path.join(work, f"state_{value}.wav")
        mix_wavs([os.path.join(work, stem + ".dec.wav") for stem in GAME_STEMS], state, gains)
        loudness, peak = ebur128(state)
        print(f"{'in-game, state ' + value:20} from {section or '-':>5} s:  {loudness:6.1f} LUFS,"
              f" true peak {peak:5.1f} dBTP")
    total = sum(os.path.getsize(os.path.join(OUT, n + ".ogg")) for n in names)
    print(f"total {total / 1024:.0f} KiB in {len(names)} files")


def main():
    os.makedirs(OUT, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        if "--report" not in sys.argv:
            for name, samples in effects().items():
                path = os.path.join(work, name + ".wav")
                write_wav(path, samples)
                encode(path, name, 3)
            for name, samples in ambience().items():
                path = os.path.join(work, name + ".wav")
                write_wav(path, samples, channels=2)
                encode(path, name, 2)
            music(work)
        report(work)
        pictures(work)


if __name__ == "__main__":
    main()
