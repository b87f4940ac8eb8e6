// ReadLanguageFile on arbitrary language file contents: every text stays terminated
// within its own width, the narrow ones (On, Off, BackMenu) included.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LanguageTexts t;
    ReadLanguageFile(InputPath(data, size), &t);
    Require(Terminated(t.Sheep) && Terminated(t.Player) && Terminated(t.StartGame) &&
                Terminated(t.NetGameS) && Terminated(t.NetGameC) && Terminated(t.Quit) &&
                Terminated(t.Options) && Terminated(t.WaitPlayer) && Terminated(t.Sound) &&
                Terminated(t.On) && Terminated(t.Off) && Terminated(t.Fullscreen) &&
                Terminated(t.Window) && Terminated(t.Story) && Terminated(t.Credits) &&
                Terminated(t.Help) && Terminated(t.QuitCommand) && Terminated(t.Demo) &&
                Terminated(t.Meadowgunner) && Terminated(t.ScreenModeHint) &&
                Terminated(t.BackMenu) && Terminated(t.OptionHint),
            "unterminated text");
    return 0;
}
