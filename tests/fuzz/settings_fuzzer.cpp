// ReadSettingsFile on arbitrary config.ini contents: whatever the file says, the values
// that size tables and loops stay in range and every text stays terminated.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    GameSettings s;
    ChosenFiles chosen;
    ReadSettingsFile(InputPath(data, size), &s, &chosen);
    auto Within = [](int value, int low, int high) { return value >= low && value <= high; };
    Require(Within(s.sheepmax, 0, 20) && Within(s.maxshots, 1, 20), "herd or shot count");
    Require(Within(s.exploanim, 1, 20) && Within(s.explotime, 10, 100), "explosion");
    Require(Within(s.frameduration, 1, 100) && Within(s.bloodtime, 0, 500), "lifetimes");
    Require(Within(s.sheepcolor1, 0, 2) && Within(s.sheepcolor2, 0, 2), "sheep colours");
    Require(Within(s.sound, 0, 1) && Within(s.fullscreen, 0, 1) && s.port != 0, "switches");
    Require(s.speednormal + s.speedshift == s.speedslow + s.speedfast, "derived speeds");
    Require(Terminated(s.serverip) && Terminated(s.playername) && Terminated(s.helpfile) &&
                Terminated(s.storyfile) && Terminated(chosen.themeFile) &&
                Terminated(chosen.languageFile),
            "unterminated text");
    return 0;
}
