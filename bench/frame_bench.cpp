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

#include "busiest_scene.h"
#include "net/wire.h"
#include "text/bounded_text.h"
#include "text/text.h"

namespace {

struct Bench {
    BusiestScene scene;
    char menuLine[kTextMaxLength + 1];
    char storyLine[kTextMaxLength + 1];
    char longText[kTextMaxLength + 1];
};

void FrameBenchmark(benchmark::State& state, BusiestScene* b, FrameParts parts) {
    const InputSnapshot input = NoKeysHeld();
    StartFrames(b);
    int frame = 0;
    for (auto _ : state) {
        RunFrame(b, input, parts, &frame);
        benchmark::DoNotOptimize(b->screen->pixels);
    }
}

void PlainCopy(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(kBenchScreen.w) * kBenchScreen.h * 4;
    std::vector<Uint8> from(bytes, 1);
    std::vector<Uint8> to(bytes, 2);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

void TextBenchmark(benchmark::State& state, BusiestScene* b, const char* text, SDL_Rect area) {
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
    const LanguageTexts& t = b->scene.texts;
    const char* menu[] = {t.Meadowgunner, t.StartGame, t.Demo,  t.NetGameS, t.NetGameC,
                          t.Options,      t.Help,      t.Story, t.Credits,  t.Quit};
    LongestLine(menu, static_cast<int>(std::size(menu)), b->menuLine);

    std::vector<std::unique_ptr<char[]>> story;
    std::unique_ptr<FILE, int (*)(FILE*)> file(fopen(b->scene.settings.storyfile, "r"), fclose);
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

void Register(Bench* bench) {
    using benchmark::RegisterBenchmark;
    BusiestScene* b = &bench->scene;
    RegisterBenchmark("floor/plain_copy", PlainCopy);
    RegisterBenchmark("floor/background_blit", [b](benchmark::State& s) {
        for (auto _ : s)
            BlitWholeBackground(b);
    });
    RegisterBenchmark("frame/rules", [b](benchmark::State& s) {
        FrameBenchmark(s, b, {true, false, EraseNothing});
    });
    RegisterBenchmark("frame/draw", [b](benchmark::State& s) {
        FrameBenchmark(s, b, {false, true, EraseNothing});
    });
    RegisterBenchmark("frame/erase", [b](benchmark::State& s) {
        FrameBenchmark(s, b, {false, false, EraseDrawnList});
    });
    RegisterBenchmark("frame/together",
                      [b](benchmark::State& s) { FrameBenchmark(s, b, kWholeFrame); });
    // The scene draws 109 areas and the list keeps 99: the result picture and the HUD are
    // drawn but not erased. With the 20 drawn blood slots empty every area is recorded.
    RegisterBenchmark("frame/together_all_recorded", [b](benchmark::State& s) {
        const MatchTables scene = b->sceneTables;
        for (int i = 0; i < kHerdSize; ++i) {
            b->sceneTables.blood[i].state = 0;
        }
        FrameBenchmark(s, b, kWholeFrame);
        b->sceneTables = scene;
    });
    RegisterBenchmark("frame/together_whole_erase", [b](benchmark::State& s) {
        FrameBenchmark(s, b, {true, true, BlitWholeBackground});
    });
    RegisterBenchmark("text/menu_line", [b, bench](benchmark::State& s) {
        TextBenchmark(s, b, bench->menuLine, SDL_Rect{225, 150, 800, 0});
    });
    RegisterBenchmark("text/story_line", [b, bench](benchmark::State& s) {
        TextBenchmark(s, b, bench->storyLine, SDL_Rect{30, 100, 760, 0});
    });
    RegisterBenchmark("text/100_bytes", [b, bench](benchmark::State& s) {
        TextBenchmark(s, b, bench->longText, SDL_Rect{30, 100, 760, 0});
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
            DecodeStateMessage(in, &client, kBenchScreen);
            benchmark::DoNotOptimize(client.herds);
        }
    });
}

}  // namespace

int main(int argc, char** argv) {
    auto bench = std::make_unique<Bench>();
    SetUpBusiestScene(&bench->scene);
    PickTexts(bench.get());
    Register(bench.get());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SDL_Quit();
    return 0;
}
