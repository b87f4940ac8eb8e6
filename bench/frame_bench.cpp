// The cost of the busiest match frame, its parts, text and messages, each beside the
// machine's floor: one plain copy of a whole 800 x 600 32-bit screen of pixels.
// Runs on SDL's dummy video driver with the theme of the working directory:
//   cd data && SDL_VIDEODRIVER=dummy ../build/bench/bench/frame_bench
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "config/assets.h"
#include "match/match_rules.h"
#include "match/match_state.h"
#include "match/match_view.h"
#include "net/wire.h"
#include "text/bounded_text.h"
#include "text/text.h"

namespace {

constexpr ScreenSize kScreen = {800, 600};
// The scene is dealt afresh every this many frames: few enough that no shot reaches a
// herd or a piece and every effect is still running.
constexpr int kFramesPerDeal = 8;

struct Bench {
    SDL_Surface* screen;
    GameSettings settings;
    ThemeFileNames names;
    LanguageTexts texts;
    ThemeAssets assets;
    TextStyle style;
    MatchTables tables;
    MatchTables sceneTables;
    ExplosionFrames explosionFrames;
    MatchState scene;  // works on `tables`
    MatchState match;
    char menuLine[kTextMaxLength + 1];
    char storyLine[kTextMaxLength + 1];
    char longText[kTextMaxLength + 1];
};

Sprite At(int x, int y, int state, SDL_Surface* image) {
    return Sprite{x, y, state, 0, 0, image};
}

// 20 live sheep a side, 10 shots a side in mid-field, 20 explosions on the four pieces,
// 40 blood splashes in the herd strips, player 1's result on show and the frame rate.
void DealBusiestScene(Bench* b) {
    GameSettings settings = b->settings;
    settings.sheepmax = kHerdSize;
    settings.maxshots = kShotSlots;
    settings.explotime = 20;
    settings.exploanim = 20;
    settings.bloodtime = 300;
    MatchStatus status{};
    std::copy(std::begin(b->assets.pictures), std::end(b->assets.pictures), status.pictures);
    status.demo = 1;
    MatchState& m = b->scene;
    m = MakeMatchState(&b->tables, settings, status);
    srand(1);
    SetupMatch(&m, kScreen, &b->assets, 0);
    for (int i = 0; i < kShotSlots; ++i) {
        m.shots[0][i] = At(40 + 75 * i, 330 + 4 * i, 1, b->assets.shot);
        m.shots[1][i] = At(60 + 75 * i, 230 + 4 * i, 1, b->assets.shot);
    }
    for (int i = 0; i < kExplosionSlots; ++i) {
        const Sprite& piece = m.pieces[i % 4];
        m.explosions[i] =
            At(piece.x + 20 * (i / 4) - 20, piece.y - 20, 20 - i % 12, b->assets.explosion);
    }
    for (int i = 0; i < kBloodSlots; ++i) {
        m.blood[i] = At(19 * i, i % 2 == 0 ? 540 : 20, 300 - i, b->assets.blood);
    }
    UseExplosionFrames(&m, b->assets.explosion, &b->explosionFrames);  // as the match loops do
    m.status.phase = Player1Won;  // a decided match stays decided
    m.status.showFps = 1;
    m.status.fps = 1000.0f;
    b->sceneTables = b->tables;
    b->match = m;
}

void RestoreScene(Bench* b) {
    b->tables = b->sceneTables;
    b->match = b->scene;
}

void RunRules(MatchState* match, const InputSnapshot& input) {
    HandleMatchInput(match, kScreen, input);
    MoveSheep(match, kScreen);
    ComputerPlayer(match, kScreen, 2);
    ComputerPlayer(match, kScreen, 1);
    ResolveHits(match);
    UpdateOutcome(match);
}

void BlitWholeBackground(Bench* b) {
    SDL_Rect origin = {0, 0, 0, 0};
    SDL_BlitSurface(b->assets.background, nullptr, b->screen, &origin);
}

// One frame as the local loop runs it, without the screen update, sounds and pacing;
// `erase` puts the background back.
template <typename Erase>
void FrameBenchmark(benchmark::State& state, Bench* b, bool rules, bool draw, Erase erase) {
    static Uint8 keys[SDLK_LAST] = {};
    InputSnapshot input;
    input.keys = keys;
    input.keyCount = SDLK_LAST;
    RestoreScene(b);
    DrawMatchFrame(&b->match, b->screen, &b->style);  // records the areas to erase
    int frame = 0;
    for (auto _ : state) {
        if (rules && ++frame % kFramesPerDeal == 0) {
            RestoreScene(b);
        }
        if (rules) {
            RunRules(&b->match, input);
        }
        if (draw) {
            DrawMatchFrame(&b->match, b->screen, &b->style);
        }
        erase(b);
        benchmark::DoNotOptimize(b->screen->pixels);
    }
}

void NoErase(Bench*) {}
void EraseList(Bench* b) {
    EraseDrawnAreas(b->assets.background, b->screen, b->match.drawnAreas, b->match.drawnCount);
}

void PlainCopy(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(kScreen.w) * kScreen.h * 4;
    std::vector<Uint8> from(bytes, 1);
    std::vector<Uint8> to(bytes, 2);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

void TextBenchmark(benchmark::State& state, Bench* b, const char* text, SDL_Rect area) {
    char buffer[kTextMaxLength + 1];
    for (auto _ : state) {
        CopyText(buffer, text);  // the first drawing's wrap every time
        DrawText(buffer, b->screen, &b->style, area);
    }
}

void LongestLine(const char* const* lines, int count, char* out) {
    CopyText(out, kTextMaxLength + 1, "");
    for (int i = 0; i < count; ++i) {
        if (strlen(lines[i]) > strlen(out)) {
            CopyText(out, kTextMaxLength + 1, lines[i]);
        }
    }
}

void PickTexts(Bench* b) {
    const LanguageTexts& t = b->texts;
    const char* menu[] = {t.Meadowgunner, t.StartGame, t.Demo,  t.NetGameS, t.NetGameC,
                          t.Options,      t.Help,      t.Story, t.Credits,  t.Quit};
    LongestLine(menu, static_cast<int>(std::size(menu)), b->menuLine);

    std::vector<std::unique_ptr<char[]>> story;
    std::unique_ptr<FILE, int (*)(FILE*)> file(fopen(b->settings.storyfile, "r"), fclose);
    char line[kTextMaxLength + 1];
    while (file && fgets(line, sizeof line, file.get()) != nullptr) {
        story.emplace_back(new char[sizeof line]);
        CopyText(story.back().get(), sizeof line, line);
    }
    std::vector<const char*> storyLines;
    for (const auto& entry : story) {
        storyLines.push_back(entry.get());
    }
    LongestLine(storyLines.data(), static_cast<int>(storyLines.size()), b->storyLine);

    for (int i = 0; i < kTextMaxLength; ++i) {
        b->longText[i] = "Bert keeps his flock down south "[i % 32];
    }
    b->longText[kTextMaxLength] = '\0';
}

void Setup(Bench* b) {
    SDL_Init(SDL_INIT_VIDEO);
    b->screen = SDL_SetVideoMode(kScreen.w, kScreen.h, 32, 0);
    if (b->screen == nullptr) {
        fprintf(stderr, "frame_bench: no video mode: %s\n", SDL_GetError());
        exit(1);
    }
    ReadConfigFiles(&b->settings, &b->names, &b->texts);
    LoadThemeAssets(&b->names, &b->assets);
    LoadFontSheets(&b->names, &b->assets, &b->style);
    DealBusiestScene(b);
    PickTexts(b);
}

void Register(Bench* b) {
    using benchmark::RegisterBenchmark;
    RegisterBenchmark("floor/plain_copy", PlainCopy);
    RegisterBenchmark("floor/background_blit", [b](benchmark::State& s) {
        for (auto _ : s)
            BlitWholeBackground(b);
    });
    RegisterBenchmark("frame/rules",
                      [b](benchmark::State& s) { FrameBenchmark(s, b, true, false, NoErase); });
    RegisterBenchmark("frame/draw",
                      [b](benchmark::State& s) { FrameBenchmark(s, b, false, true, NoErase); });
    RegisterBenchmark("frame/erase",
                      [b](benchmark::State& s) { FrameBenchmark(s, b, false, false, EraseList); });
    RegisterBenchmark("frame/together",
                      [b](benchmark::State& s) { FrameBenchmark(s, b, true, true, EraseList); });
    // The scene draws 109 areas and the list keeps 99: the result picture and the HUD are
    // drawn but not erased. With the 20 drawn blood slots empty every area is recorded.
    RegisterBenchmark("frame/together_all_recorded", [b](benchmark::State& s) {
        const MatchTables scene = b->sceneTables;
        for (int i = 0; i < kHerdSize; ++i) {
            b->sceneTables.blood[i].state = 0;
        }
        FrameBenchmark(s, b, true, true, EraseList);
        b->sceneTables = scene;
    });
    RegisterBenchmark("frame/together_whole_erase", [b](benchmark::State& s) {
        FrameBenchmark(s, b, true, true, BlitWholeBackground);
    });
    RegisterBenchmark("text/menu_line", [b](benchmark::State& s) {
        TextBenchmark(s, b, b->menuLine, SDL_Rect{225, 150, 800, 0});
    });
    RegisterBenchmark("text/story_line", [b](benchmark::State& s) {
        TextBenchmark(s, b, b->storyLine, SDL_Rect{30, 100, 760, 0});
    });
    RegisterBenchmark("text/100_bytes", [b](benchmark::State& s) {
        TextBenchmark(s, b, b->longText, SDL_Rect{30, 100, 760, 0});
    });
    // The scene's message, with its sound requests cleared: those only add diagnostics.
    RegisterBenchmark("message/encode", [b](benchmark::State& s) {
        char out[kStateMessageSize];
        for (auto _ : s) {
            EncodeStateMessage(b->scene, out);
            benchmark::DoNotOptimize(out);
        }
    });
    RegisterBenchmark("message/decode", [b](benchmark::State& s) {
        char in[kStateMessageSize];
        EncodeStateMessage(b->scene, in);
        MatchState client = b->scene;
        for (auto _ : s) {
            DecodeStateMessage(in, &client, kScreen);
            benchmark::DoNotOptimize(client.herds);
        }
    });
}

}  // namespace

int main(int argc, char** argv) {
    auto bench = std::make_unique<Bench>();
    Setup(bench.get());
    Register(bench.get());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SDL_Quit();
    return 0;
}
