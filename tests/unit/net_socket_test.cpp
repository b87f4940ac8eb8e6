// Messages over a real loopback connection on a port the kernel picks (in pieces, and
// from peers that go away), and the set-up screens' address entry and spinner.
#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

#include "net/net_io.h"
#include "net/net_setup.h"
#include "net/wire.h"
#include "test_support.h"

constexpr ScreenSize kScreen{800, 600};

// The game's end is an SDL_net socket; the peer is a plain socket, from which a thread
// sends the pieces, pausing after the first, and then shuts the connection.
struct Loopback : testing::Test {
    void SetUp() override {
        SDLNet_Init();
        gPreviousRemoteFire = 0;
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        const int listener = socket(AF_INET, SOCK_STREAM, 0);
        bind(listener, reinterpret_cast<sockaddr*>(&address), length);
        listen(listener, 1);
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        IPaddress target;
        SDLNet_ResolveHost(&target, "127.0.0.1", ntohs(address.sin_port));
        game = SDLNet_TCP_Open(&target);
        peer = accept(listener, nullptr, nullptr);
        close(listener);
        ASSERT_TRUE(game != nullptr && peer >= 0);
    }
    void TearDown() override {
        sender.join();
        close(peer);
        SDLNet_TCP_Close(game);
        SDLNet_Quit();
        gPreviousRemoteFire = 0;
    }
    void PeerSendsThenCloses(std::vector<std::string> pieces) {
        sender = std::thread([this, pieces] {
            for (const std::string& piece : pieces) {
                send(peer, piece.data(), piece.size(), 0);
                SDL_Delay(&piece == &pieces[0] ? 150 : 0);
            }
            shutdown(peer, SHUT_RDWR);
        });
    }
    TCPsocket game = nullptr;
    int peer = -1;
    std::thread sender;
    TestMatch server, client;
};

// Fire with a slow step to the left, in two pieces; then half a message and the client
// is gone: the next client's first fire must fire at once.
TEST_F(Loopback, InputInPiecesIsAppliedAndALostClientForgetsItsHeldFire) {
    const std::string message("\x0e\0\0\0", 4);
    PeerSendsThenCloses({message.substr(0, 1), message.substr(1), message.substr(0, 2)});
    EXPECT_EQ(ReceiveInput(game, &server.match, kScreen), 0);
    EXPECT_EQ(Numbers(server.match.shots[1][0].state, gPreviousRemoteFire), "1 1");
    EXPECT_EQ(ReceiveInput(game, &server.match, kScreen), 1);
    EXPECT_EQ(Numbers(server.match.pieces[kCannon2].x, gPreviousRemoteFire), "424 0");
}

// Each press of a listed key acts once and one key per pass: a second listed key waits
// until all are up, and the first listed wins. Keypad keys and others do nothing; a full
// text takes no more; Backspace on an empty text does nothing. Held keys per pass:
// digits, "." the period, "b" Backspace, "r" Return, "k" keypad 1, "a" the letter a.
TEST(AddressEntry, EachPressOfAListedKeyEditsOrConnectsOnce) {
    AddressEntry entry{};
    std::string actions;
    const SDLKey named[] = {SDLK_PERIOD, SDLK_BACKSPACE, SDLK_RETURN, SDLK_KP1, SDLK_a};
    auto pass = [&](const std::string& held) {
        FakeKeys keys;
        for (char k : held) {
            keys.held[isdigit(k) ? SDLK_0 + k - '0' : named[std::string(".brka").find(k)]] = 1;
        }
        actions += "-EC"[int(StepAddressEntry(&entry, keys.Snapshot()))];
    };
    for (const char* held : {"b", "", "ka", "1", "1", "12", "2", "", ".3", "", "0", "", "b", ""}) {
        pass(held);
    }
    const std::string edited = actions + " " + entry.text;
    for (int i = 0; i < kAddressCapacity; ++i) {
        pass("8");
        pass("");
    }
    actions.clear();
    for (const char* held : {"5", "", "b", "", "r", "r"}) {
        pass(held);
    }
    EXPECT_EQ(edited + " " + actions + " " + std::to_string(std::string(entry.text).size()),
              "---E----E-E-E- 13 --E-C- 48");
}

// The first and last pass of each symbol, and the next round.
TEST(Spinner, FourSymbolsOfTenPassesEach) {
    std::string shown;
    for (int pass : {0, 9, 10, 19, 20, 29, 30, 39, 40, 49}) {
        shown += SpinnerSymbol(pass);
    }
    EXPECT_EQ(shown, " -  -  \\  \\  :  :  /  /  -  - ");
}
