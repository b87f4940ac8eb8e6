#include <SDL/SDL.h>

#include "app/startup.h"

int main(int argc, char** argv) {
    RunGame(argc, argv);
}
