#!/usr/bin/env python3
"""Makes every sound of the game into assets/Sounds/ as Ogg Vorbis.

Sound effects are synthesised here (oscillators, noise, envelopes, pitch sweeps), mono. The music is
composed here as notes, written as MIDI, rendered by FluidSynth with the General MIDI soundfont and
encoded with oggenc. Each looping piece is rendered twice in a row and the second pass is kept, so
the notes and reverb still ringing at its end are exactly what rings at its start: the loop has no
seam. The in-game piece is four stems of one length (pad, melody, harp, bells) that the event bank
fades between.

Needs python3, fluidsynth, fluid-soundfont-gm (/usr/share/sounds/sf2/FluidR3_GM.sf2), vorbis-tools
(oggenc) and sox. Players never run this: the .ogg files are committed.
Usage: tools/make_sounds.py [--report]   (--report prints peaks, loudness and loop seams only)
"""
import math
import os
import random
import struct
import subprocess
import sys
import tempfile
import wave

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
OUT = os.path.join(ROOT, "assets", "Sounds")
SOUNDFONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"
# Every sound is mono at 22.05 kHz: the game decodes all of it at start-up within its budget, and
# OpenAL pans every mono source alike, so the balance measured here is the balance heard.
RATE = 22050
RENDER_RATE = 32000  # FluidSynth's rate, resampled to RATE afterwards
PEAK = 10 ** (-1.5 / 20)  # effects peak at -1.5 dBFS


# ---------------------------------------------------------------- sound effects

def envelope(t, attack, decay):
    """Linear attack, exponential decay (decay = seconds to fall by 1/e)."""
    return (t / attack if t < attack else math.exp(-(t - attack) / decay))


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
        out[i] = s * min(1.0, t / 0.003)
    return out


def mix(*tracks):
    n = max(len(t) for t in tracks)
    return [sum(t[i] for t in tracks if i < len(t)) for i in range(n)]


def normalise(samples, peak=PEAK):
    top = max(abs(s) for s in samples) or 1.0
    return [s * peak / top for s in samples]


def fade_out(samples, seconds=0.02):
    n = int(seconds * RATE)
    for i in range(1, n + 1):
        samples[-i] *= (i - 1) / n
    return samples


def seamless_loop(samples, overlap):
    """Folds the last `overlap` samples over the first with an equal-power crossfade."""
    body = samples[:-overlap]
    tail = samples[-overlap:]
    for i in range(overlap):
        x = i / overlap
        body[i] = body[i] * math.sin(x * math.pi / 2) + tail[i] * math.cos(x * math.pi / 2)
    return body


def wind(seconds, cutoff, gust_hz, depth, seed):
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
        swell = 1.0 - depth + depth * (0.5 + 0.5 * math.sin(2 * math.pi * gust_hz * t))
        out.append(s * swell)
    return seamless_loop(out, overlap)


def effects():
    """Every sound effect event, by file name."""
    sounds = {}
    sounds["player_jump"] = fade_out(sweep(0.28, 330, 760, triangle, 0.006, 0.07, noise=0.05,
                                           harmonics=(1.0, 0.25)))
    sounds["player_defeat"] = fade_out(mix(
        sweep(0.9, 620, 140, triangle, 0.01, 0.35, noise=0.04, seed=2, harmonics=(1.0, 0.3)),
        [0.25 * s for s in sweep(0.9, 310, 70, sine, 0.01, 0.4, seed=3)]))
    sounds["wind_heavy"] = wind(3.0, 700, 2 / 3.0, 0.55, seed=4)
    sounds["wind_light"] = wind(3.0, 2400, 1 / 1.5, 0.4, seed=5)
    gust = wind(1.2, 1400, 0.0, 0.0, seed=6)[: int(0.9 * RATE)]
    sounds["wind_gust"] = fade_out([s * math.sin(math.pi * i / len(gust)) ** 2
                                    for i, s in enumerate(gust)])
    thump = sweep(0.45, 170, 45, sine, 0.003, 0.12, seed=7)
    whoosh = sweep(0.45, 900, 300, sine, 0.02, 0.1, noise=1.2, seed=8, harmonics=(0.05,))
    sounds["star_cannon"] = fade_out(mix(thump, [0.6 * s for s in whoosh]))
    notes = [523.25, 659.25, 783.99, 1046.5]  # C E G C: the goal's small fanfare
    sounds["level_complete"] = fade_out(mix(*[bell(f, 1.4 - 0.11 * k, 0.5, 0.11 * k, 1.5)
                                              for k, f in enumerate(notes)]))
    sounds["star_collect"] = fade_out(mix(bell(1318.5, 0.5, 0.18, 0.0, 0.6),
                                          bell(1975.5, 0.5, 0.22, 0.07, 0.6)))
    crunch = []
    grains = Noise(9)
    for k in range(6):  # a few bursts of gravel, each darker than the last
        start = 0.012 * k + 0.03 * grains.random.random() * k
        burst = sweep(0.12, 1200 - 150 * k, 500, sine, 0.002, 0.03, noise=1.5, seed=10 + k,
                      harmonics=(0.02,))
        crunch.append([0.0] * int(start * RATE) + [s * (1.0 - 0.12 * k) for s in burst])
    body = sweep(0.35, 120, 60, sine, 0.002, 0.08, seed=20)
    sounds["breaking_blocks"] = fade_out(mix(body, *crunch))
    return {name: normalise(samples) for name, samples in sounds.items()}


def write_wav(path, samples, channels=1):
    with wave.open(path, "wb") as out:
        out.setnchannels(channels)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(max(-1, min(1, s)) * 32767))
                                 for s in samples))


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
    """One instrument's notes: (start beat, length in beats, MIDI note, velocity)."""

    def __init__(self, program, channel, volume=100, pan=64, reverb=60):
        self.program, self.channel = program, channel
        self.volume, self.pan, self.reverb = volume, pan, reverb
        self.notes = []

    def add(self, beat, length, note, velocity=80):
        self.notes.append((beat, length, pitch(note) if isinstance(note, str) else note, velocity))


def write_midi(path, parts, bpm, beats, passes):
    """A one-track MIDI file playing `parts` `passes` times, then two bars of silence for tails."""
    ticks = 480
    events = []
    for part in parts:
        c = part.channel
        events.append((0, 0, bytes([0xC0 | c, part.program])))
        for cc, value in ((7, part.volume), (10, part.pan), (91, part.reverb), (93, 0)):
            events.append((0, 0, bytes([0xB0 | c, cc, value])))
        for p in range(passes):
            for beat, length, note, velocity in part.notes:
                on = round((beat + p * beats) * ticks)
                off = round((beat + length + p * beats) * ticks) - 1
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


def varlen(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(out)


def chord_tones(chord):
    """'D' / 'Bm' / 'F#m' / 'Asus' -> (root pitch class name, list of three MIDI notes near C4)."""
    root = chord.rstrip("msu")
    minor = chord.endswith("m")
    sus = chord.endswith("sus")
    base = pitch(root + "3")
    third = 5 if sus else (3 if minor else 4)
    return root, [base, base + third, base + 7]


# The in-game piece: D major, 3/4 at 80 beats a minute, sixteen bars (36 s), gentle and open.
GAME_BPM, GAME_BAR = 80, 3
GAME_CHORDS = ["D", "Bm", "G", "A", "D", "F#m", "G", "Asus",
               "Bm", "G", "D", "A", "G", "Em", "Asus", "A"]
# Melody: (bar, beat in bar, beats, note); rests are simply gaps.
GAME_MELODY = [
    (0, 0, 1, "F#5"), (0, 1, 1, "E5"), (0, 2, 1, "D5"), (1, 0, 2, "F#5"), (1, 2, 1, "B4"),
    (2, 0, 1, "D5"), (2, 1, 1, "B4"), (2, 2, 1, "G4"), (3, 0, 3, "A4"),
    (4, 0, 1, "F#5"), (4, 1, 1, "G5"), (4, 2, 1, "A5"), (5, 0, 2, "C#6"), (5, 2, 1, "A5"),
    (6, 0, 1, "B5"), (6, 1, 1, "A5"), (6, 2, 1, "G5"), (7, 0, 2, "E5"), (7, 2, 1, "A4"),
    (8, 0, 1, "D5"), (8, 1, 1, "F#5"), (8, 2, 1, "B5"), (9, 0, 2, "B5"), (9, 2, 1, "G5"),
    (10, 0, 1, "A5"), (10, 1, 1, "F#5"), (10, 2, 1, "D5"), (11, 0, 2, "E5"), (11, 2, 1, "C#5"),
    (12, 0, 1, "B4"), (12, 1, 1, "D5"), (12, 2, 1, "G5"), (13, 0, 2, "G5"), (13, 2, 1, "E5"),
    (14, 0, 2, "E5"), (14, 2, 1, "D5"), (15, 0, 3, "C#5"),
]
# Bells answer the melody in the bars where it holds a long note.
GAME_BELLS = [
    (1, 2, 1, "D6"), (3, 1, 1, "C#6"), (3, 2, 1, "E6"), (5, 2, 1, "E6"), (7, 1, 1, "D6"),
    (7, 2, 1, "C#6"), (9, 2, 1, "D6"), (11, 1, 1, "A5"), (11, 2, 1, "B5"), (13, 2, 1, "B5"),
    (15, 1, 1, "E6"), (15, 2, 1, "F#6"),
]


def game_stems():
    bars = len(GAME_CHORDS)
    pad = Part(48, 0, volume=78, reverb=80)       # string ensemble
    bass = Part(32, 1, volume=90, reverb=40)      # acoustic bass
    lead = Part(73, 2, volume=92, pan=58, reverb=70)   # flute
    harp = Part(46, 3, volume=88, pan=76, reverb=70)   # orchestral harp
    bells = Part(8, 4, volume=84, pan=50, reverb=90)   # celesta
    for bar, chord in enumerate(GAME_CHORDS):
        root, tones = chord_tones(chord)
        start = bar * GAME_BAR
        for note in tones:
            pad.add(start, GAME_BAR, note + 12, 58)
        bass.add(start, 2, pitch(root + "2"), 76)
        bass.add(start + 2, 1, pitch(root + "2") + 7, 60)
        pattern = [tones[0] + 12, tones[1] + 12, tones[2] + 12, tones[0] + 24, tones[2] + 12,
                   tones[1] + 12]
        for k, note in enumerate(pattern):
            harp.add(start + 0.5 * k, 0.5, note, 70 if k == 0 else 56)
    for bar, beat, length, note in GAME_MELODY:
        lead.add(bar * GAME_BAR + beat, length, note, 84)
    for bar, beat, length, note in GAME_BELLS:
        bells.add(bar * GAME_BAR + beat, length, note, 64)
    return bars * GAME_BAR, {"music_game_pad": [pad, bass], "music_game_lead": [lead],
                             "music_game_harp": [harp], "music_game_bells": [bells]}


# The start menu: F major, 4/4 at 75 beats a minute, eight bars (25.6 s), a music-box lullaby.
MENU_BPM, MENU_BAR = 75, 4
MENU_CHORDS = ["F", "Dm", "Bb", "C", "F", "Am", "Bb", "Csus"]
MENU_MELODY = [
    (0, 0, 1, "A5"), (0, 1, 1, "C6"), (0, 2, 2, "F5"), (1, 0, 1, "D5"), (1, 1, 1, "F5"),
    (1, 2, 2, "A5"), (2, 0, 1, "Bb5"), (2, 1, 1, "A5"), (2, 2, 1, "G5"), (2, 3, 1, "F5"),
    (3, 0, 3, "G5"), (4, 0, 1, "A5"), (4, 1, 1, "C6"), (4, 2, 2, "F6"), (5, 0, 1, "E6"),
    (5, 1, 1, "C6"), (5, 2, 2, "A5"), (6, 0, 1, "Bb5"), (6, 1, 1, "D6"), (6, 2, 1, "C6"),
    (6, 3, 1, "Bb5"), (7, 0, 2, "A5"), (7, 2, 2, "G5"),
]


def menu_parts():
    box = Part(10, 0, volume=96, reverb=85)       # music box
    pad = Part(89, 1, volume=70, reverb=80)       # warm pad
    piano = Part(0, 2, volume=74, pan=70, reverb=70)
    for bar, chord in enumerate(MENU_CHORDS):
        root, tones = chord_tones(chord)
        start = bar * MENU_BAR
        for note in tones:
            pad.add(start, MENU_BAR, note, 52)
        piano.add(start, 2, pitch(root + "2"), 58)
        for k, note in enumerate([tones[0] + 12, tones[2] + 12, tones[1] + 12, tones[2] + 12]):
            piano.add(start + k, 1, note, 44)
    for bar, beat, length, note in MENU_MELODY:
        box.add(bar * MENU_BAR + beat, length, note, 80)
    return len(MENU_CHORDS) * MENU_BAR, [box, pad, piano]


def render_loop(work, name, parts, bpm, beats):
    """Renders `parts` as a seamless loop of `beats` beats into work/<name>.wav (mono)."""
    mid = os.path.join(work, name + ".mid")
    raw = os.path.join(work, name + ".raw.wav")
    write_midi(mid, parts, bpm, beats, passes=2)
    # FluidSynth applies events at 64-sample block boundaries: at 32 kHz both loops span whole
    # blocks, so the second pass is the first shifted exactly. Resampling the whole render and
    # then cutting keeps that: the cut lands on whole samples at 22.05 kHz too.
    subprocess.run(["fluidsynth", "-ni", "-q", "-g", "0.6", "-r", str(RENDER_RATE), "-F", raw, "-T",
                    "wav", SOUNDFONT, mid], check=True, stdout=subprocess.DEVNULL)
    assert beats * 60 * RENDER_RATE % (bpm * 64) == 0, "the loop must span whole render blocks"
    assert beats * 60 * RATE % bpm == 0, "the loop must be a whole number of samples"
    loop = beats * 60 * RATE // bpm
    out = os.path.join(work, name + ".wav")
    subprocess.run(["sox", raw, "-b", "16", out, "channels", "1", "rate", "-v", str(RATE), "trim",
                    f"{loop}s", f"{loop}s"], check=True)
    return out


def sox_stats(path):
    result = subprocess.run(["sox", path, "-n", "stats"], capture_output=True, text=True)
    stats = {}
    for line in result.stderr.splitlines():
        key, _, values = line.rpartition("  ")
        parts = line.split()
        if line.startswith("Pk lev dB"):
            stats["peak"] = float(parts[3])
        elif line.startswith("RMS lev dB"):
            stats["rms"] = float(parts[3])
    return stats


def mix_wavs(paths, out):
    """Sums the files at full gain (sox -m alone would scale each by 1/n)."""
    args = []
    for path in paths:
        args += ["-v", "1", path]
    subprocess.run(["sox", "-m", *args, "-b", "16", out], check=True)


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


MUSIC_RMS = -20.0  # both pieces, full mix, dBFS
# The stems' balance inside the in-game piece, so that no state of it is much quieter than another
# (the bells are sparse and sit lower).
STEM_RMS = {"music_game_pad": -26.0, "music_game_lead": -24.0, "music_game_harp": -25.5,
            "music_game_bells": -31.0}


def music(work):
    beats, stems = game_stems()
    rendered = {}
    for name, parts in stems.items():
        raw = render_loop(work, name, parts, GAME_BPM, beats)
        rendered[name] = raw + ".trim.wav"
        gain_to(raw, rendered[name], STEM_RMS[name] - sox_stats(raw)["rms"])
    full = os.path.join(work, "game_full.wav")
    mix_wavs(list(rendered.values()), full)
    stats = sox_stats(full)
    # One gain for every stem keeps their balance; the louder of loudness and peak decides.
    db = min(MUSIC_RMS - stats["rms"], -1.5 - stats["peak"])
    for name, path in rendered.items():
        gain_to(path, path + ".g.wav", db)
        encode(path + ".g.wav", name, 1)

    menu_beats, parts = menu_parts()
    menu = render_loop(work, "music_menu", parts, MENU_BPM, menu_beats)
    stats = sox_stats(menu)
    gain_to(menu, menu + ".g.wav", min(MUSIC_RMS - stats["rms"], -1.5 - stats["peak"]))
    encode(menu + ".g.wav", "music_menu", 1)


# ---------------------------------------------------------------- report

def decoded(name, work):
    wav = os.path.join(work, name + ".dec.wav")
    subprocess.run(["sox", os.path.join(OUT, name + ".ogg"), "-b", "16", wav], check=True)
    with wave.open(wav) as f:
        channels, frames = f.getnchannels(), f.getnframes()
        data = struct.unpack(f"<{frames * channels}h", f.readframes(frames))
    return wav, channels, [data[c::channels] for c in range(channels)]


def seam(channels):
    """The jump across the loop's wrap against the file's own sample-to-sample steps (99th pct)."""
    jump = max(abs(ch[0] - ch[-1]) for ch in channels)
    steps = sorted(abs(ch[i] - ch[i - 1]) for ch in channels for i in range(1, len(ch)))
    return jump, steps[int(0.99 * (len(steps) - 1))]


GAME_STEMS = ["music_game_pad", "music_game_lead", "music_game_harp", "music_game_bells"]


def bank_states():
    """The in-game music's "StateChange" states from the event bank: (value, layer gains)."""
    with open(os.path.join(ROOT, "assets", "SoundBank")) as bank:
        for line in bank:
            tokens = line.split("#")[0].split()
            if tokens and tokens[0] == "Music/In_Game_Music_01":
                return [(t.split("=")[0], [float(g) for g in t.split("=")[1].split("/")])
                        for t in tokens[tokens.index("StateChange:") + 1:]
                        if "=" in t and t.split("=")[0] not in ("start", "fade")]
    return []


def report(work):
    print(f"{'file':22} {'sec':>6} {'ch':>2} {'peak dBFS':>9} {'RMS dBFS':>9} {'seam':>12}")
    names = sorted(n[:-4] for n in os.listdir(OUT) if n.endswith(".ogg"))
    for name in names:
        wav, count, channels = decoded(name, work)
        stats = sox_stats(wav)
        loops = name.startswith("music") or name.startswith("wind_heavy") or \
            name.startswith("wind_light")
        seam_text = "%d vs %d" % seam(channels) if loops else "-"
        print(f"{name:22} {len(channels[0]) / RATE:6.2f} {count:2} {stats['peak']:9.2f} "
              f"{stats['rms']:9.2f} {seam_text:>12}")
    for value, gains in bank_states():
        state = os.path.join(work, f"state_{value}.wav")
        args = []
        for stem, gain in zip(GAME_STEMS, gains):
            if gain > 0:
                args += ["-v", str(gain), os.path.join(work, stem + ".dec.wav")]
        subprocess.run(["sox", "-m", *args, "-b", "16", state] if len(args) > 3 else
                       ["sox", *args, "-b", "16", state], check=True)
        stats = sox_stats(state)
        print(f"{'in-game, state ' + value:22} {'':6} {'':2} {stats['peak']:9.2f} "
              f"{stats['rms']:9.2f}")
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
            music(work)
        report(work)


if __name__ == "__main__":
    main()
