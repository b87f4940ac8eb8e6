// The busiest match frame's cost (rules, drawing and erasing together, as frame_bench's
// frame/together) without Google Benchmark, so that it builds wherever the game does:
// the browser build runs it in a page (bench/run writes one). A browser's clock ticks in
// steps of up to 0.1 ms, so the frames are timed in runs of one deal each.
//   frame_cost [REPETITIONS [DEALS]]
// prints "frame/together MICROSECONDS" per repetition: the median over DEALS runs of one
// run's time divided by its frames.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "busiest_scene.h"

namespace {

double MicrosecondsPerFrameOfOneDeal(BusiestScene* b, const InputSnapshot& input, int* frame) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kFramesPerDeal; ++i) {
        RunFrame(b, input, kWholeFrame, frame);
    }
    const std::chrono::duration<double, std::micro> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / kFramesPerDeal;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double MedianFrameCost(BusiestScene* b, int deals) {
    const InputSnapshot input = NoKeysHeld();
    StartFrames(b);
    int frame = 0;
    std::vector<double> costs;
    for (int i = 0; i < deals; ++i) {
        costs.push_back(MicrosecondsPerFrameOfOneDeal(b, input, &frame));
    }
    return Median(costs);
}

int PositiveArgument(int argc, char** argv, int index, int fallback) {
    const int value = argc > index ? atoi(argv[index]) : fallback;
    return value > 0 ? value : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = PositiveArgument(argc, argv, 1, 5);
    const int deals = PositiveArgument(argc, argv, 2, 60);
    auto scene = std::make_unique<BusiestScene>();
    SetUpBusiestScene(scene.get());
    MedianFrameCost(scene.get(), deals / 10 + 1);  // caches, and a browser's compiler, warm up
    for (int i = 0; i < repetitions; ++i) {
        printf("frame/together %.2f\n", MedianFrameCost(scene.get(), deals));
    }
    fflush(stdout);
    SDL_Quit();
    return 0;
}
