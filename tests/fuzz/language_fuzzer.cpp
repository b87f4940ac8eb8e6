// ReadLanguageFile on arbitrary language file contents: every text stays terminated
// within its own width, the narrow ones (On, Off, BackMenu) included.
#include "config/settings.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputFile input(data, size);
    LanguageTexts t;
    ReadLanguageFile(input.Path(), &t);
    Require(AllTerminated({FIELD(t, Sheep),        FIELD(t, Player),
                           FIELD(t, StartGame),    FIELD(t, NetGameS),
                           FIELD(t, NetGameC),     FIELD(t, Quit),
                           FIELD(t, Options),      FIELD(t, WaitPlayer),
                           FIELD(t, Sound),        FIELD(t, On),
                           FIELD(t, Off),          FIELD(t, Fullscreen),
                           FIELD(t, Window),       FIELD(t, Story),
                           FIELD(t, Credits),      FIELD(t, Help),
                           FIELD(t, QuitCommand),  FIELD(t, Demo),
                           FIELD(t, Meadowgunner), FIELD(t, ScreenModeHint),
                           FIELD(t, BackMenu),     FIELD(t, OptionHint)}),
            "unterminated text");
    return 0;
}
