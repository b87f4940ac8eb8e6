// ReadSettingsFile on arbitrary config.ini contents: whatever the file says, the values
// that size tables and loops stay in range and every text stays terminated.
#include "config/settings.h"
#include "fuzz_support.h"

namespace {

bool Within(int value, int low, int high) {
    return value >= low && value <= high;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputFile input(data, size);
    GameSettings s;
    ChosenFiles chosen;
    ReadSettingsFile(input.Path(), &s, &chosen);
    Require(Within(s.sheepmax, 0, 20) && Within(s.maxshots, 1, 20), "herd or shot count");
    Require(Within(s.exploanim, 1, 20) && Within(s.explotime, 10, 100), "explosion");
    Require(Within(s.frameduration, 1, 100) && Within(s.bloodtime, 0, 500), "lifetimes");
    Require(Within(s.sheepcolor1, 0, 2) && Within(s.sheepcolor2, 0, 2), "sheep colours");
    Require(Within(s.sound, 0, 1) && Within(s.fullscreen, 0, 1) && s.port != 0, "switches");
    Require(s.speednormal + s.speedshift == s.speedslow + s.speedfast, "derived speeds");
    Require(
        AllTerminated({FIELD(s, serverip), FIELD(s, playername), FIELD(s, helpfile),
                       FIELD(s, storyfile), FIELD(chosen, themeFile), FIELD(chosen, languageFile)}),
        "unterminated text");
    return 0;
}
