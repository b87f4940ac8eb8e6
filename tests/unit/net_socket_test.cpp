// Real loopback connections (messages in pieces, peers that go away, the server's
// listening socket) and the address entry's key latch.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>

#include "net/net_io.h"
#include "net/net_setup.h"
#include "net/wire.h"
#include "test_support.h"

namespace {

constexpr ScreenSize kScreen{800, 600};

class NetEnvironment : public ::testing::Environment {
   public:
    void SetUp() override { ASSERT_EQ(SDLNet_Init(), 0) << SDL_GetError(); }
    void TearDown() override { SDLNet_Quit(); }
};
const auto* const kNetEnvironment = ::testing::AddGlobalTestEnvironment(new NetEnvironment);

struct SocketClose {
    void operator()(TCPsocket socket) const { SDLNet_TCP_Close(socket); }
};
using Socket = std::unique_ptr<std::remove_pointer_t<TCPsocket>, SocketClose>;

// A connection to the port on 127.0.0.1, or with no host a listening socket on it.
Socket Open(const char* host, Uint16 port) {
    IPaddress address{};
    SDLNet_ResolveHost(&address, host, port);
    return Socket(SDLNet_TCP_Open(&address));
}

// A listening POSIX socket on 127.0.0.1 with a port the kernel picked, or -1.
int ListenOnLoopback(Uint16* port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(fd, 1) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(fd);
        return -1;
    }
    *port = ntohs(address.sin_port);
    return fd;
}

// The game's end is an SDL_net socket; the peer is a plain socket the test drives byte
// by byte. The server's match has player 2's cannon at x 300.
class Loopback : public ::testing::Test {
   protected:
    void SetUp() override {
        gPreviousRemoteFire = 0;
        server.match.pieces[kCannon2].x = 300;
        Uint16 port = 0;
        int listener = ListenOnLoopback(&port);
        ASSERT_GE(listener, 0);
        game = Open("127.0.0.1", port);
        peer = game != nullptr ? accept(listener, nullptr, nullptr) : -1;
        close(listener);
        ASSERT_GE(peer, 0);
        timeval limit{5, 0};  // a missing reply fails the test instead of hanging it
        setsockopt(peer, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    }
    void TearDown() override {
        ClosePeer();
        gPreviousRemoteFire = 0;
    }
    void ClosePeer() {
        if (peer >= 0) {
            close(peer);
            peer = -1;
        }
    }
    void PeerSends(const void* bytes, size_t count) {
        ASSERT_EQ(send(peer, bytes, count, 0), static_cast<ssize_t>(count));
    }
    std::string PeerReceives(size_t count) {
        std::string bytes(count, '\0');
        ssize_t got = recv(peer, bytes.data(), count, MSG_WAITALL);
        bytes.resize(got > 0 ? got : 0);
        return bytes;
    }

    Socket game;
    int peer = -1;
    TestMatch server, client;
};

TEST_F(Loopback, AStateMessageInPiecesIsReceivedWholeAndAClosedServerEndsTheWait) {
    server.match.pieces[kCannon1].x = 123;
    char sent[kStateMessageSize];
    EncodeStateMessage(server.match, sent);
    const std::string part(700, '5');
    std::thread sender([&] {
        PeerSends(sent, 1460);
        SDL_Delay(150);
        PeerSends(sent + 1460, 40);
        PeerSends(part.data(), part.size());  // then the server is gone
        ClosePeer();
    });
    EXPECT_EQ(ReceiveState(game.get(), kScreen, &client.match), 0);
    EXPECT_EQ(client.match.pieces[kCannon2].x, 800 - 40 - 123);
    StderrCapture capture;
    EXPECT_EQ(ReceiveState(game.get(), kScreen, &client.match), 1);
    sender.join();
    EXPECT_EQ(capture.Text(), "Error: Received 0 bytes");
    EXPECT_EQ(client.match.pieces[kCannon2].x, 800 - 40 - 123) << "the part is not applied";
}

TEST_F(Loopback, InputInPiecesIsAppliedAndALostClientForgetsItsHeldFire) {
    Uint8 bytes[kInputMessageSize];
    EncodeInputMessage(14, bytes);  // fire and a slow step
    std::thread sender([&] {
        PeerSends(bytes, 1);
        SDL_Delay(100);
        PeerSends(bytes + 1, 3);
        PeerSends(bytes, 2);  // half of the next message, then the client is gone
        ClosePeer();
    });
    EXPECT_EQ(ReceiveInput(game.get(), &server.match, kScreen), 0);
    EXPECT_EQ(server.match.pieces[kCannon2].x, 294);
    EXPECT_EQ(server.match.shots[1][0].state, 1);
    EXPECT_EQ(gPreviousRemoteFire, 1);
    EXPECT_EQ(ReceiveInput(game.get(), &server.match, kScreen), 1);
    sender.join();
    EXPECT_EQ(gPreviousRemoteFire, 0) << "the next client's first fire fires at once";
    EXPECT_EQ(server.match.pieces[kCannon2].x, 294) << "the half message moved nothing";
}

TEST_F(Loopback, SendersWriteTheWholeEncodedMessages) {
    server.match.status.explosionSound = 1;
    char expected[kStateMessageSize];
    EncodeStateMessage(server.match, expected);
    ASSERT_EQ(SendState(game.get(), server.match), 0);
    EXPECT_EQ(PeerReceives(kStateMessageSize), std::string(expected, kStateMessageSize));
    ASSERT_EQ(SendInput(game.get(), MatchTestSettings()), 0);
    EXPECT_EQ(PeerReceives(kInputMessageSize), std::string(4, '\0')) << "no key held";
}

TEST_F(Loopback, SendingToAClosedPeerFailsWithoutEndingTheProgram) {
    ClosePeer();
    StderrCapture capture;
    int result = 0;
    for (int attempt = 0; attempt < 50 && result == 0; ++attempt) {
        result = SendState(game.get(), server.match);
        SDL_Delay(10);
    }
    EXPECT_EQ(result, 1);
    EXPECT_EQ(capture.Text().rfind("SDLNet_TCP_Send: ", 0), 0u) << capture.Text();
}

// Accept must not wait, the accepted socket must wait for data, and the port must open
// again after a match's clean-up (connection, listening socket, network layer).
TEST(ServerSocket, AcceptPollsReceiveWaitsAndThePortOpensAgain) {
    Uint16 port = 0;
    int probe = ListenOnLoopback(&port);  // a port nobody uses
    ASSERT_GE(probe, 0);
    close(probe);
    for (int round = 0; round < 2; ++round) {
        Socket listening = Open(nullptr, port);
        ASSERT_NE(listening, nullptr) << "round " << round << ": " << SDL_GetError();
        EXPECT_EQ(SDLNet_TCP_Accept(listening.get()), nullptr);
        Socket client = Open("127.0.0.1", port);
        ASSERT_NE(client, nullptr);
        Socket accepted;
        for (int i = 0; i < 200 && accepted == nullptr; ++i) {
            accepted.reset(SDLNet_TCP_Accept(listening.get()));
            SDL_Delay(5);
        }
        ASSERT_NE(accepted, nullptr);
        std::thread sender([&] {
            SDL_Delay(150);
            Uint8 bytes[kInputMessageSize];
            EncodeInputMessage(2, bytes);
            SDLNet_TCP_Send(client.get(), bytes, kInputMessageSize);
        });
        TestMatch server;
        server.match.pieces[kCannon2].x = 300;
        EXPECT_EQ(ReceiveInput(accepted.get(), &server.match, kScreen), 0);
        sender.join();
        EXPECT_EQ(server.match.pieces[kCannon2].x, 306);
        accepted.reset();
        listening.reset();
        client.reset();
        SDLNet_Quit();
        ASSERT_EQ(SDLNet_Init(), 0);
    }
}

class AddressKeys : public ::testing::Test {
   protected:
    AddressAction Pass() { return StepAddressEntry(&entry, keys.Snapshot()); }
    AddressAction Tap(SDLKey key) {
        keys.Press(key);
        AddressAction action = Pass();
        keys.Release(key);
        Pass();
        return action;
    }

    AddressEntry entry{};
    FakeKeys keys;
};

TEST_F(AddressKeys, EachPressActsOnceAndASecondHeldKeyWaitsForAllToBeReleased) {
    keys.Press(SDLK_1);
    EXPECT_EQ(Pass(), AddressAction::Edited);
    EXPECT_EQ(Pass(), AddressAction::None);
    keys.Press(SDLK_2);
    keys.Release(SDLK_1);
    EXPECT_EQ(Pass(), AddressAction::None) << "2 is still held";
    keys.Release(SDLK_2);
    Pass();
    keys.Press(SDLK_PERIOD);
    keys.Press(SDLK_3);
    EXPECT_EQ(Pass(), AddressAction::Edited);
    EXPECT_STREQ(entry.text, "13") << "the first listed key wins";
}

TEST_F(AddressKeys, MainKeyboardDigitsPeriodAndBackspaceEditUpToAFullText) {
    EXPECT_EQ(Tap(SDLK_BACKSPACE), AddressAction::None) << "on an empty text";
    // Other keys latch nothing: they stay held through the rest of the test.
    for (SDLKey key : {SDLK_KP1, SDLK_KP_PERIOD, SDLK_KP_ENTER, SDLK_a, SDLK_MINUS}) {
        keys.Press(key);
        EXPECT_EQ(Pass(), AddressAction::None) << key;
    }
    for (SDLKey key : {SDLK_1, SDLK_2, SDLK_7, SDLK_PERIOD, SDLK_0, SDLK_9, SDLK_BACKSPACE}) {
        EXPECT_EQ(Tap(key), AddressAction::Edited) << key;
    }
    EXPECT_STREQ(entry.text, "127.0");
    for (int i = 0; i < kAddressCapacity; ++i) {
        Tap(SDLK_8);
    }
    EXPECT_EQ(strlen(entry.text), static_cast<size_t>(kAddressCapacity - 1));
    EXPECT_EQ(Tap(SDLK_5), AddressAction::None);
    EXPECT_EQ(Tap(SDLK_BACKSPACE), AddressAction::Edited);
    EXPECT_EQ(Tap(SDLK_PERIOD), AddressAction::Edited);
    keys.Press(SDLK_RETURN);
    EXPECT_EQ(Pass(), AddressAction::Connect) << "a full text still connects";
    EXPECT_EQ(Pass(), AddressAction::None) << "once per press";
}

TEST(Spinner, FourSymbolsOfTenPassesEach) {
    const char* const expected[] = {" - ", " \\ ", " : ", " / "};
    for (int pass = 0; pass < 45; ++pass) {
        EXPECT_STREQ(SpinnerSymbol(pass), expected[pass % 40 / 10]) << "pass " << pass;
    }
}

}  // namespace
