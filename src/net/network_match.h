// A match between two machines over TCP: the server computes it, the client draws it.
#pragma once

#include "match/local_match.h"

// Whether F was held in the previous client frame. Process-wide.
extern int gPreviousFKey;

// Sets up the connection (isServer 1: wait for a client; 0: type the server's address),
// then runs frames until ESC or a failure on either side, and cleans up.
void NetworkMatch(const MatchResources& resources, GameSettings settings, MatchStatus status,
                  TextStyle style, int isServer);
