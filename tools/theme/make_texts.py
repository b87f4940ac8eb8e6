"""Writes the settings file, the two theme files, the two language files and the
help and story texts, and checks that every text fits the game's limits and
uses only characters the bitmap font can draw.

usage: make_texts.py DATA_DIR

All files are written as Latin-1 bytes with LF line ends.
"""

import os
import sys

from charset import BLANK_MEASURE, DRAWABLE, GLYPHS, width

# the theme files config.ini offers, in order (theme0 is the one chosen):
# (theme file, folder of its pictures and sounds, heading)
THEMES = [
    ("default.ini", "themes/meadow/", "Meadowgunner default theme: a sunny meadow."),
    ("night.ini", "themes/night/", "Meadowgunner night theme: the meadow by moonlight."),
]

# theme key -> file name, in the order the theme file lists them
THEME_PICTURES = [
    ("background", "background.bmp"), ("cannon1", "cannon1.bmp"), ("cannon2", "cannon2.bmp"),
    ("shield1", "shield1.bmp"), ("shield2", "shield2.bmp"), ("sheeplw", "sheeplw.bmp"),
    ("sheeprw", "sheeprw.bmp"), ("sheeplb", "sheeplb.bmp"), ("sheeprb", "sheeprb.bmp"),
    ("shot", "shot.bmp"), ("blood", "blood.bmp"), ("explosion", "explosion.bmp"),
    ("suddendeath", "suddendeath.png"), ("splashscreen", "splashscreen.bmp"),
    ("winner", "winner.png"), ("loser", "loser.png"), ("draw", "draw.png"),
    ("abcbig", "abcbig.png"), ("abcsmall", "abcsmall.png"),
    ("specialchar", "symbols.png"), ("numbers", "numbers.png"), ("border", "border.bmp"),
]
THEME_SOUNDS = [
    ("sheepsound1", "sheep1.wav"), ("sheepsound2", "sheep2.wav"), ("sheepsound3", "sheep3.wav"),
    ("shotsound", "shot.wav"), ("explodesound", "explosion.wav"),
]

LANGUAGES = [  # (language file, help file, story file)
    ("english.lng", "help_en.txt", "story_en.txt"),
    ("german.lng", "help_de.txt", "story_de.txt"),
]

# language key -> field width in bytes (including the terminating zero)
LANG_WIDTHS = [
    ("Sheep", 30), ("Player", 30), ("StartGame", 30), ("NetGameS", 30), ("NetGameC", 30),
    ("Quit", 30), ("Options", 30), ("WaitPlayer", 40), ("Sound", 30), ("On", 10), ("Off", 10),
    ("Fullscreen", 30), ("Window", 30), ("Story", 30), ("Credits", 30), ("Help", 30),
    ("QuitCommand", 40), ("Demo", 30), ("Meadowgunner", 30), ("ScreenModeHint", 80),
    ("BackMenu", 10), ("OptionHint", 80),
]
MENU_KEYS = ["StartGame", "Demo", "NetGameS", "NetGameC", "Options", "Help", "Story",
             "Credits", "Quit"]

TEXTS = {
    "english": {
        "Sheep": "Sheep",
        "Player": "Player",
        "StartGame": "Start Game",
        "NetGameS": "Host Net Game",
        "NetGameC": "Join Net Game",
        "Quit": "Quit",
        "Options": "Options",
        "WaitPlayer": "Waiting for the other player...",
        "Sound": "Sound",
        "On": "On",
        "Off": "Off",
        "Fullscreen": "Full screen",
        "Window": "Window",
        "Story": "Story",
        "Credits": "Credits",
        "Help": "Help",
        "QuitCommand": "Press ESC to leave",
        "Demo": "Demo",
        "Meadowgunner": "Meadowgunner",
        "ScreenModeHint": "For full screen, start the game with /f.",
        "BackMenu": "<- Menu",
        "OptionHint": "All other settings are in config.ini.",
    },
    "german": {
        "Sheep": "Schafe",
        "Player": "Spieler",
        "StartGame": "Spiel starten",
        "NetGameS": "Netzspiel eröffnen",
        "NetGameC": "Netzspiel beitreten",
        "Quit": "Beenden",
        "Options": "Optionen",
        "WaitPlayer": "Warte auf den Mitspieler...",
        "Sound": "Ton",
        "On": "An",
        "Off": "Aus",
        "Fullscreen": "Vollbild",
        "Window": "Fenster",
        "Story": "Geschichte",
        "Credits": "Mitwirkende",
        "Help": "Hilfe",
        "QuitCommand": "Mit ESC geht es zurück",
        "Demo": "Vorführung",
        "Meadowgunner": "Meadowgunner",
        "ScreenModeHint": "Mit /f gestartet läuft das Spiel im Vollbild.",
        "BackMenu": "<- Menü",
        "OptionHint": "Alles Weitere steht in config.ini.",
    },
}

HELP = {
    "english": [
        "Left/Right: move your cannon",
        "Shift + Left/Right: other speed",
        "Ctrl + Left/Right: move shield",
        "Space: fire a shot",
        "F: show the frame rate",
        "ESC: back to the menu",
        "",
        "Your herd grazes at the bottom,",
        "the blue cannon is yours. Shoot",
        "every sheep of the red shepherd",
        "up top and guard your own flock.",
        "Last herd standing wins!",
    ],
    "german": [
        "Links/Rechts: Kanone bewegen",
        "Umschalt + Pfeil: anderes Tempo",
        "Strg + Pfeil: Schild bewegen",
        "Leertaste: Schuss abfeuern",
        "F: Bilder pro Sekunde zeigen",
        "ESC: zurück zum Menü",
        "",
        "Deine Herde grast unten, die",
        "blaue Kanone gehört dir. Triff",
        "jedes Schaf der roten Schäferin",
        "oben und schütze deine Herde.",
        "Die letzte Herde gewinnt!",
    ],
}

STORY = {
    "english": [
        "Bert and Rosie share a meadow.",
        "Bert keeps his flock down south,",
        "Rosie keeps hers up north, and for",
        "years the clover was enough.",
        "Then one night a black sheep ate",
        "Rosie's prize cabbage. \"Not mine!\"",
        "said Bert. \"Prove it!\" said Rosie.",
        "Since then neither will speak.",
        "Each has rolled an old cannon",
        "out of the barn, the fence posts",
        "are trembling, and the sheep just",
        "keep on chewing. Baa.",
    ],
    "german": [
        "Bert und Rosie teilen eine Wiese.",
        "Bert hütet seine Herde im Süden,",
        "Rosie ihre oben im Norden, und",
        "jahrelang reichte der Klee.",
        "Dann fraß nachts ein schwarzes",
        "Schaf Rosies besten Kohlkopf.",
        "\"Nicht meins!\", rief Bert. \"Beweis",
        "es!\", rief Rosie. Seither reden",
        "sie kein Wort mehr. Beide haben",
        "eine alte Kanone aus der Scheune",
        "gerollt, die Zaunpfähle zittern,",
        "und die Schafe kauen weiter. Mäh.",
    ],
}

MAX_LINE = 34  # help and story lines stay on one line on screen


def fail(msg):
    raise SystemExit("make_texts: " + msg)


def wrapped(text, wrap):
    """The lines the game's word wrap makes of a text at `wrap` pixels."""
    chars = list(text)
    run, widths = 0, []
    for i, c in enumerate(chars):
        if run > wrap and i >= 2 and widths[i - 2] == BLANK_MEASURE:
            chars[i - 2] = "|"
            run = 0
        w = GLYPHS[c][2] if c in GLYPHS else BLANK_MEASURE
        widths.append(w)
        run += w
    return "".join(chars).split("|")


def check_on_screen(where, text, x, wrap):
    """Every line the wrap makes must end inside the 800-pixel screen."""
    for line in wrapped(text, wrap):
        if x + width(line) > 800:
            fail("%s: runs off the screen: %r" % (where, line))


def check_drawable(where, text):
    bad = sorted(set(c for c in text if c not in DRAWABLE))
    if bad:
        fail("%s: characters the font cannot draw: %r" % (where, bad))


def write(path, lines):
    data = "".join(line + "\n" for line in lines).encode("latin-1")
    for n, line in enumerate(data.split(b"\n")[:-1], 1):
        if len(line) > 98:
            fail("%s line %d is longer than 98 bytes" % (path, n))
    with open(path, "wb") as fh:
        fh.write(data)


def config_lines():
    lines = [
        "; Meadowgunner settings. Lines starting with ; or [ are comments.",
        "; Write key=value with no blanks around the = sign; keys are case-sensitive.",
        "; A current...= line must come before the lines it chooses among.",
        "",
        "[display]",
        "; 0 = window, 1 = full screen (the game is started with /f for full screen)",
        "fullscreen=0",
        "; 0 = off, 1 = on",
        "sound=1",
        "; length of one frame in milliseconds (30 gives about 33 frames a second)",
        "frameduration=30",
        "",
        "[cannon]",
        "; pixels per frame that cannon and shield move, slow and fast",
        "speedslow=6",
        "speedfast=12",
        "; 1 = holding Shift moves slowly, 0 = holding Shift moves fast",
        "shiftslow=1",
        "; shots a player may have in the air at once (1 to 10)",
        "maxshots=3",
        "; pixels per frame a shot flies",
        "shotspeed=12",
        "",
        "[sheep]",
        "; sheep per herd (0 to 20)",
        "sheepmax=20",
        "; pixels per frame a walking sheep moves",
        "sheepspeed=3",
        "; colour of each herd: 1 = white, 2 = black, 0 = mixed",
        "sheepcolor1=1",
        "sheepcolor2=0",
        "",
        "[effects]",
        "; frames a blood splash stays on the grass",
        "bloodtime=300",
        "; frames an explosion lasts (10 to 100)",
        "explotime=20",
        "; pictures side by side in the explosion strip",
        "exploanim=20",
        "",
        "[language]",
        "currentlanguage=0",
    ]
    for n, (lng, hlp, sty) in enumerate(LANGUAGES):
        for value, limit in ((lng, 39), (hlp, 19), (sty, 19)):
            if len(value) > limit:
                fail("file name %s is too long" % value)
        lines += ["language%d=%s" % (n, lng), "helpfile%d=%s" % (n, hlp),
                  "storyfile%d=%s" % (n, sty)]
    lines += [
        "",
        "[theme]",
        "; 0 = the sunny meadow, 1 = the meadow by night",
        "currenttheme=0",
    ]
    for n, (theme_file, _path, _heading) in enumerate(THEMES):
        if len(theme_file) > 39:
            fail("file name %s is too long" % theme_file)
        lines.append("theme%d=%s" % (n, theme_file))
    lines += [
        "",
        "[network]",
        "; remembered server addresses; currentip picks one (1 to 5)",
        "currentip=1",
        "mrIP1=192.168.0.2",
        "mrIP2=192.168.0.3",
        "mrIP3=10.0.0.2",
        "port=7882",
        "",
        "[player]",
        "; remembered player names; currentplayername picks one (1 to 5)",
        "currentplayername=1",
        "player1=Shepherd",
        "player2=Rosie",
        "player3=Bert",
    ]
    return lines


def theme_lines(theme_path, heading):
    lines = ["; " + heading,
             "; themepath is put in front of every file name below it.",
             "themepath=" + theme_path, "", "[pictures]"]
    for key, name in THEME_PICTURES:
        if len(theme_path + name) > 99:
            fail("theme path for %s is too long" % key)
        lines.append("%s=%s" % (key, name))
    lines += ["", "[sounds]"]
    for key, name in THEME_SOUNDS:
        lines.append("%s=%s" % (key, name))
    return lines


def language_lines(lang):
    texts = TEXTS[lang]
    lines = ["; Meadowgunner menu texts: %s (Latin-1)" % lang, ""]
    for key, wdt in LANG_WIDTHS:
        value = texts[key]
        check_drawable("%s %s" % (lang, key), value)
        if len(value.encode("latin-1")) > wdt - 1:
            fail("%s %s: longer than %d bytes" % (lang, key, wdt - 1))
        lines.append("%s=%s" % (key, value))
    for key in MENU_KEYS:
        if width(texts[key]) > 410:
            fail("%s %s: too wide for the menu bar" % (lang, key))
    if width(texts["BackMenu"]) > 169 or len(texts["BackMenu"]) > 9:
        fail("%s BackMenu: too wide for the back button" % lang)
    if width(texts["Meadowgunner"]) > 800 - 225:
        fail("%s title: too wide" % lang)
    for key in ("ScreenModeHint", "OptionHint"):
        check_on_screen("%s %s" % (lang, key), texts[key], 20, 770)
    return lines


def check_lines(kind, lang, lines, x, wrap):
    if len(lines) > 12:
        fail("%s %s: only 12 lines are shown" % (lang, kind))
    for line in lines:
        check_drawable("%s %s" % (lang, kind), line)
        if len(line) > MAX_LINE or len(line.encode("latin-1")) > 48:
            fail("%s %s: line too long: %r" % (lang, kind, line))
        if len(wrapped(line, wrap)) > 1 or x + width(line) > 800:
            fail("%s %s: line would wrap: %r" % (lang, kind, line))


def main(data_dir):
    os.makedirs(data_dir, exist_ok=True)

    def out(name):
        return os.path.join(data_dir, name)

    write(out("config.ini"), config_lines())
    for theme_file, theme_path, heading in THEMES:
        write(out(theme_file), theme_lines(theme_path, heading))
    for (lng, hlp, sty), lang in zip(LANGUAGES, ("english", "german")):
        write(out(lng), language_lines(lang))
        check_lines("help", lang, HELP[lang], 40, 800)
        write(out(hlp), HELP[lang])
        check_lines("story", lang, STORY[lang], 30, 760)
        write(out(sty), STORY[lang])
    write(out("engstory.txt"), STORY["english"])


if __name__ == "__main__":
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    main(sys.argv[1])
