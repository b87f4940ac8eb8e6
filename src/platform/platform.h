// What a target provides where Linux, Windows and the browser differ. The game calls
// these instead of the SDL calls they stand for; CMake builds one target's files:
// linux.cpp or windows.cpp (each with desktop_sdl.cpp, SDL 1.2's own drawing) or web.cpp.
#pragma once

#include <SDL/SDL.h>
#include <SDL/SDL_net.h>

struct Mix_Chunk;

// The display: the surface the game draws on, and when what it drew is seen.

// SDL_SetVideoMode(width, height, 0, SDL_FULLSCREEN or 0); null with SDL's error set.
SDL_Surface* OpenDisplay(int width, int height, bool fullscreen);
// Fills the whole screen with black.
void ClearScreen(SDL_Surface* screen);
// Shows the whole screen as drawn so far (SDL_UpdateRect of everything). A browser sees
// only what was shown here, never a frame half drawn or half erased.
void ShowScreen(SDL_Surface* screen);

// Pictures: loaded in the pixel format of their file, and drawn by SDL's blits.

// Reads a picture file (BMP and PNG at least, told apart by their contents); null with
// SDL's error set when it cannot.
SDL_Surface* LoadPictureFile(const char* path);
// The first byte of the picture's pixel data in its file's pixel format, or -1 when the
// picture has no pixels.
int FirstPixelByte(SDL_Surface* picture);
// Later blits leave out the pixels whose value is key (a palette index for an 8-bit
// picture), as SDL_SetColorKey with SDL_SRCCOLORKEY and SDL_RLEACCEL does.
void KeyPicture(SDL_Surface* picture, Uint32 key);
// Later blits blend the picture by its own alpha channel, as SDL_SetAlpha with
// SDL_SRCALPHA, SDL_RLEACCEL and alpha 255 does.
void BlendPicture(SDL_Surface* picture);
// The palette of a picture of 8 bits per pixel, or null.
const SDL_Palette* PicturePalette(const SDL_Surface* picture);
// Sets the first count colours of a palette picture; later blits draw with them.
void SetPictureColours(SDL_Surface* picture, const SDL_Color* colours, int count);
// A picture of its own holding columns x .. x + w - 1 of picture, in its pixel format,
// with its palette and transparency; null when it cannot be made.
SDL_Surface* CopyPictureColumns(SDL_Surface* picture, int x, int w);
// Releases a picture made by the functions above.
void FreePicture(SDL_Surface* picture);

// Input and time.

// SDL's table of held keys, indexed by key symbol, and its length.
const Uint8* HeldKeyTable(int* count);
// Called by a loop that waits (for the frame's end, for the peer) before it looks again,
// with the milliseconds it still has to wait: the desktop goes straight on, the browser
// lets the page run meanwhile.
void YieldWhileWaiting(Uint32 milliseconds);

// The network.

// Opens a connection to a game hosting at address (SDLNet_TCP_Open); null with SDL's
// error set. A browser has only WebSockets: it goes through the bridge the host runs
// beside the game, on the port after the game's.
TCPsocket OpenConnection(IPaddress* address);

// Sound.

// Plays chunk once on channel, cutting off what that channel was still playing
// (Mix_PlayChannelTimed with no loops and no time limit).
void PlaySoundOnChannel(int channel, Mix_Chunk* chunk);

// The process.

// Sets an environment variable unless it is set already.
void SetEnvironmentDefault(const char* name, const char* value);
