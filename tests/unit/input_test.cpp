// The polled input: keys outside the table, and the window's close request.

#include "test_support.h"

TEST(KeyHeld, OnlyKeysInsideTheTableCanBeHeld) {
    auto table = std::make_unique<Uint8[]>(3);  // on the heap: a read past it is caught
    table[1] = table[2] = 1;
    InputSnapshot input{table.get(), 3};
    std::string held;
    for (int key : {0, 1, 2, 3}) {
        held += KeyHeld(input, SDLKey(key)) ? '1' : '0';
    }
    input.keys = nullptr;
    EXPECT_EQ(held + (KeyHeld(input, SDLKey(1)) ? '1' : '0'), "01100");
}

// A window-close request ends the program with status 0; other events are taken.
TEST(DrainEvents, ACloseRequestEndsTheProgramWithStatusZero) {
    SDL_Init(SDL_INIT_VIDEO);
    SDL_Event event = {};
    for (Uint8 type : {SDL_KEYDOWN, SDL_QUIT}) {
        event.type = type;
        SDL_PushEvent(&event);
    }
    EXPECT_EXIT(DrainEvents(), testing::ExitedWithCode(0), "");
    SDL_Quit();
}
