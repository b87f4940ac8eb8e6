"""Synthesises the raw sound effects at 44100 Hz (16-bit mono WAV).

usage: make_sounds.py OUT_DIR [LOOK]   (LOOK: meadow, the default, or night)

Writes shot.wav, explosion.wav, sheep1.wav, sheep2.wav and sheep3.wav in the
voice of the look: by night the shot is duller, the explosion deeper and the
sheep sleepier.
make_theme.sh then filters, resamples and normalises them with sox.
Everything is built from fixed seeds, so the output never changes.
"""

import os
import sys
import wave

import numpy as np

RATE = 44100
TOP = 3800.0  # nothing above this: the game plays its sounds at 11025 Hz


def seconds(d):
    return np.arange(int(RATE * d)) / RATE


def shaped_noise(n, rng, lo, hi, tilt=0.0):
    """White noise limited to lo..hi Hz (with an optional slope in dB/octave)."""
    spec = np.fft.rfft(rng.standard_normal(n))
    f = np.fft.rfftfreq(n, 1.0 / RATE)
    gain = ((f >= lo) & (f <= hi)).astype(float)
    edge = np.clip((hi * 1.15 - f) / (hi * 0.15), 0, 1)
    gain = np.maximum(gain, edge * (f >= lo))
    if tilt:
        gain *= (np.maximum(f, lo) / lo) ** (tilt / 6.02)
    out = np.fft.irfft(spec * gain, n)
    return out / (np.abs(out).max() + 1e-12)


def fade(sig, start=0.002, end=0.02):
    a, b = int(RATE * start), int(RATE * end)
    env = np.ones(len(sig))
    if a:
        env[:a] = np.linspace(0, 1, a)
    if b:
        env[-b:] = np.minimum(env[-b:], np.linspace(1, 0, b))
    return sig * env


def shot(seed=11, low=58, high=190, pop_top=3200, ring_hz=410):
    rng = np.random.default_rng(seed)
    t = seconds(0.25)
    # a falling thump
    freq = low + high * np.exp(-t / 0.030)
    phase = 2 * np.pi * np.cumsum(freq) / RATE
    thump = (np.sin(phase) + 0.35 * np.sin(2 * phase)) * np.exp(-t / 0.065)
    # the pop of the charge
    pop = shaped_noise(len(t), rng, 300, pop_top, tilt=-3) * np.exp(-t / 0.014)
    # a short hollow ring of the barrel
    ring = np.sin(2 * np.pi * ring_hz * t) * np.exp(-t / 0.045) * 0.25
    return fade(0.9 * thump + 0.75 * pop + ring, 0.001, 0.03)


def explosion(seed=23, bright_top=TOP, rumble_hz=62):
    rng = np.random.default_rng(seed)
    t = seconds(0.8)
    n = len(t)
    bright = shaped_noise(n, rng, 200, bright_top, tilt=-2) * np.exp(-t / 0.09)
    dark = shaped_noise(n, rng, 40, 900, tilt=-4) * np.exp(-t / 0.28)
    rumble_f = rumble_hz + 40 * np.exp(-t / 0.1)
    rumble = np.sin(2 * np.pi * np.cumsum(rumble_f) / RATE) * np.exp(-t / 0.32)
    # crackles in the first half
    crackle = np.zeros(n)
    for _ in range(26):
        at = int(rng.random() ** 1.7 * 0.45 * RATE)
        ln = int(0.004 * RATE)
        burst = shaped_noise(ln, rng, 600, TOP) * np.hanning(ln) * (0.4 + 0.6 * rng.random())
        crackle[at:at + ln] += burst[: n - at]
    crackle *= np.exp(-t / 0.25)
    attack = np.clip(t / 0.004, 0, 1)
    sig = attack * (0.8 * bright + 1.0 * dark + 0.55 * rumble + 0.35 * crackle)
    return fade(sig, 0.0, 0.08)


FORMANTS = [  # centre Hz, width Hz, gain: a nasal "aa"
    (280, 120, 0.55), (820, 160, 1.0), (1250, 200, 0.75), (2550, 300, 0.35), (3300, 350, 0.15)]


def spectral_envelope(f):
    env = np.full_like(f, 0.04)
    for fc, bw, g in FORMANTS:
        env += g / (1 + ((f - fc) / bw) ** 2)
    return env


def bleat(f_start, f_peak, f_end, dur, vib_rate, pulse_rate, seed):
    rng = np.random.default_rng(seed)
    t = seconds(dur)
    n = len(t)
    x = t / dur
    # pitch: a quick rise, then a long drop, with vibrato that widens
    glide = np.where(x < 0.12, f_start + (f_peak - f_start) * (x / 0.12),
                     f_peak + (f_end - f_peak) * np.clip((x - 0.12) / 0.88, 0, 1) ** 1.3)
    vib = np.sin(2 * np.pi * vib_rate * t + rng.random() * 6)
    wobble = 1 + (0.015 + 0.045 * x) * vib
    f0 = glide * wobble
    phase = 2 * np.pi * np.cumsum(f0) / RATE
    # the onset is dark ("m-baa"), the body bright
    bright = np.clip(x / 0.1, 0.25, 1.0)
    sig = np.zeros(n)
    for k in range(1, 40):
        fk = k * f0
        amp = spectral_envelope(fk) / k ** 0.65
        amp *= np.where(fk < TOP, 1.0, 0.0)
        amp *= np.where(fk > 1000, bright, 1.0)
        sig += amp * np.sin(k * phase)
    # the bleat's quaver: loudness follows the vibrato, with a fast rough shiver on top
    pulse = (1 - 0.32 * (0.5 + 0.5 * vib)) * \
        (1 - 0.2 * (0.5 + 0.5 * np.sin(2 * np.pi * pulse_rate * t)))
    breath = shaped_noise(n, rng, 900, 3500) * 0.04
    env = np.clip(t / 0.05, 0, 1) * np.clip((dur - t) / 0.18, 0, 1) ** 1.5
    return fade((sig * pulse + breath) * env, 0.003, 0.03)


SOUNDS = {
    "meadow": {
        "shot": shot,
        "explosion": explosion,
        "sheep1": lambda: bleat(290, 360, 255, 0.70, 6.2, 24.0, 31),
        "sheep2": lambda: bleat(400, 500, 350, 0.55, 7.4, 28.0, 32),
        "sheep3": lambda: bleat(220, 280, 190, 0.80, 5.4, 21.0, 33),
    },
    "night": {
        "shot": lambda: shot(seed=12, low=46, high=150, pop_top=2200, ring_hz=330),
        "explosion": lambda: explosion(seed=24, bright_top=2400, rumble_hz=48),
        "sheep1": lambda: bleat(250, 300, 215, 0.80, 5.0, 20.0, 41),
        "sheep2": lambda: bleat(340, 410, 300, 0.65, 5.8, 23.0, 42),
        "sheep3": lambda: bleat(190, 235, 165, 0.90, 4.4, 17.0, 43),
    },
}


def write_wav(path, sig):
    sig = sig / (np.abs(sig).max() + 1e-12) * 0.8
    data = np.round(sig * 32767).astype("<i2").tobytes()
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data)


def main(out_dir, look):
    os.makedirs(out_dir, exist_ok=True)
    for name, make in SOUNDS[look].items():
        write_wav(os.path.join(out_dir, name + ".wav"), make())


if __name__ == "__main__":
    chosen = sys.argv[2] if len(sys.argv) == 3 else "meadow"
    if len(sys.argv) not in (2, 3) or chosen not in SOUNDS:
        raise SystemExit(__doc__)
    main(sys.argv[1], chosen)
