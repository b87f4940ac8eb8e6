// Real loopback connections (messages in pieces, peers that go away, the listening
// socket of the server) and the address entry's key latch.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

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

void Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

struct Fd {
    int fd = -1;
    explicit Fd(int value) : fd(value) {}
    ~Fd() { Close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    void Close() {
        if (fd >= 0) {
            close(fd);
            fd = -1;
        }
    }
};

struct SdlSocket {
    TCPsocket socket = nullptr;
    explicit SdlSocket(TCPsocket value) : socket(value) {}
    ~SdlSocket() {
        if (socket != nullptr) {
            SDLNet_TCP_Close(socket);
        }
    }
    SdlSocket(const SdlSocket&) = delete;
    SdlSocket& operator=(const SdlSocket&) = delete;
};

// A listening POSIX socket on 127.0.0.1 with a port the kernel picked.
int ListenOnLoopback(Uint16* port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, 1) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(fd);
        return -1;
    }
    *port = ntohs(address.sin_port);
    return fd;
}

TCPsocket ConnectToLoopback(Uint16 port) {
    IPaddress address{};
    SDLNet_ResolveHost(&address, "127.0.0.1", port);
    return SDLNet_TCP_Open(&address);
}

// The game's end is an SDL_net socket; the peer is a plain socket the test drives byte
// by byte.
struct LoopbackPair {
    SdlSocket game{nullptr};
    Fd peer{-1};

    LoopbackPair() {
        Uint16 port = 0;
        Fd listener(ListenOnLoopback(&port));
        if (listener.fd < 0) {
            return;
        }
        game.socket = ConnectToLoopback(port);
        if (game.socket != nullptr) {
            peer.fd = accept(listener.fd, nullptr, nullptr);
        }
    }
    bool Ready() const { return game.socket != nullptr && peer.fd >= 0; }
    void PeerSends(const void* bytes, size_t count) const {
        ASSERT_EQ(send(peer.fd, bytes, count, 0), static_cast<ssize_t>(count));
    }
    std::string PeerReceives(size_t count) const {
        std::string bytes(count, '\0');
        size_t got = 0;
        while (got < count) {
            ssize_t n = recv(peer.fd, bytes.data() + got, count - got, 0);
            if (n <= 0) {
                break;
            }
            got += static_cast<size_t>(n);
        }
        bytes.resize(got);
        return bytes;
    }
};

// A dealt match with small pictures, for the receiving operations to write into.
struct SmallMatch {
    SurfacePtr pieces[4] = {MakeSurface(60, 40), MakeSurface(80, 10), MakeSurface(60, 45),
                            MakeSurface(80, 12)};
    SurfacePtr sheep = MakeSurface(40, 30);
    SurfacePtr shot = MakeSurface(6, 12);
    SurfacePtr blood = MakeSurface(30, 20);
    SurfacePtr explosion = MakeSurface(200, 40);
    ThemeAssets assets{};
    MatchTables tables{};
    MatchState match{};

    SmallMatch() {
        assets.cannon1 = pieces[0].get();
        assets.shield1 = pieces[1].get();
        assets.cannon2 = pieces[2].get();
        assets.shield2 = pieces[3].get();
        for (SDL_Surface*& picture : assets.sheeppictures) {
            picture = sheep.get();
        }
        assets.shot = shot.get();
        assets.blood = blood.get();
        assets.explosion = explosion.get();
        GameSettings settings{};
        settings.speedslow = 4;
        settings.speedfast = 9;
        settings.shiftslow = 1;
        settings.sheepcolor1 = 1;
        settings.sheepcolor2 = 2;
        settings.sheepmax = 5;
        settings.bloodtime = 300;
        settings.explotime = 20;
        settings.maxshots = 3;
        settings.exploanim = 5;
        match = MakeMatchState(&tables, settings, MatchStatus{});
        SetupMatch(&match, kScreen, &assets, 0);
        match.pieces[kCannon2].x = 300;
    }
    int ActiveShotsOfPlayer2() const {
        int n = 0;
        for (int i = 0; i < kShotSlots; ++i) {
            n += match.shots[1][i].state != 0;
        }
        return n;
    }
};

// --- Receiving whole messages ------------------------------------------------------------

TEST(LoopbackMessages, AStateMessageInTwoPiecesIsReceivedWhole) {
    LoopbackPair pair;
    ASSERT_TRUE(pair.Ready());
    SmallMatch server;
    server.match.pieces[kCannon1].x = 123;
    char sent[kStateMessageSize];
    EncodeStateMessage(server.match, sent);

    std::thread peer([&] {
        pair.PeerSends(sent, 1460);
        Pause(150);
        pair.PeerSends(sent + 1460, 40);
    });
    SmallMatch client;
    int result = ReceiveState(pair.game.socket, kScreen, &client.match);
    peer.join();
    ASSERT_EQ(result, 0);
    EXPECT_EQ(client.match.pieces[kCannon2].x, 800 - 60 - 123);
}

TEST(LoopbackMessages, AClosedServerEndsReceiveStateAndLeavesTheMatchAsItWas) {
    LoopbackPair pair;
    ASSERT_TRUE(pair.Ready());
    SmallMatch client;
    char half[700];
    memset(half, '5', sizeof half);
    pair.PeerSends(half, sizeof half);
    pair.peer.Close();
    int cannonX = client.match.pieces[kCannon2].x;
    int sheepX = client.match.herds[1][0].x;

    StderrCapture capture;
    EXPECT_EQ(ReceiveState(pair.game.socket, kScreen, &client.match), 1);
    EXPECT_EQ(capture.Text(), "Error: Received 0 bytes");
    EXPECT_EQ(client.match.pieces[kCannon2].x, cannonX);
    EXPECT_EQ(client.match.herds[1][0].x, sheepX);
}

TEST(LoopbackMessages, AnInputValueInPiecesIsAppliedToPlayerTwo) {
    gPreviousRemoteFire = 0;
    LoopbackPair pair;
    ASSERT_TRUE(pair.Ready());
    Uint8 bytes[kInputMessageSize];
    EncodeInputMessage(14, bytes);
    std::thread peer([&] {
        pair.PeerSends(bytes, 1);
        Pause(100);
        pair.PeerSends(bytes + 1, 3);
    });
    SmallMatch server;
    EXPECT_EQ(ReceiveInput(pair.game.socket, &server.match, kScreen), 0);
    peer.join();
    EXPECT_EQ(server.match.pieces[kCannon2].x, 296);
    EXPECT_EQ(server.ActiveShotsOfPlayer2(), 1);
    gPreviousRemoteFire = 0;
}

TEST(LoopbackMessages, ALostClientAppliesNothingAndForgetsItsHeldFire) {
    gPreviousRemoteFire = 0;
    SmallMatch server;
    Uint8 fire[kInputMessageSize];
    EncodeInputMessage(11, fire);
    {
        LoopbackPair pair;
        ASSERT_TRUE(pair.Ready());
        pair.PeerSends(fire, sizeof fire);
        pair.PeerSends(fire, 2);  // half a message, then the client is gone
        pair.peer.Close();
        ASSERT_EQ(ReceiveInput(pair.game.socket, &server.match, kScreen), 0);
        ASSERT_EQ(server.ActiveShotsOfPlayer2(), 1);
        EXPECT_EQ(gPreviousRemoteFire, 1);
        EXPECT_EQ(ReceiveInput(pair.game.socket, &server.match, kScreen), 1);
    }
    EXPECT_EQ(gPreviousRemoteFire, 0);
    EXPECT_EQ(server.match.pieces[kCannon2].x, 309) << "the half message moved nothing";
    EXPECT_EQ(server.ActiveShotsOfPlayer2(), 1);

    // The next connection's first fire message fires at once.
    LoopbackPair next;
    ASSERT_TRUE(next.Ready());
    next.PeerSends(fire, sizeof fire);
    ASSERT_EQ(ReceiveInput(next.game.socket, &server.match, kScreen), 0);
    EXPECT_EQ(server.ActiveShotsOfPlayer2(), 2);
    gPreviousRemoteFire = 0;
}

// --- Sending ---------------------------------------------------------------------------

TEST(LoopbackMessages, SendStateSendsTheWholeEncodedMessage) {
    LoopbackPair pair;
    ASSERT_TRUE(pair.Ready());
    SmallMatch server;
    server.match.status.explosionSound = 1;
    char expected[kStateMessageSize];
    EncodeStateMessage(server.match, expected);
    ASSERT_EQ(SendState(pair.game.socket, server.match), 0);
    EXPECT_EQ(pair.PeerReceives(kStateMessageSize), std::string(expected, kStateMessageSize));
}

TEST(LoopbackMessages, SendInputSendsFourBytesOfTheHeldKeys) {
    LoopbackPair pair;
    ASSERT_TRUE(pair.Ready());
    GameSettings settings{};
    settings.shiftslow = 1;
    ASSERT_EQ(SendInput(pair.game.socket, settings), 0);
    // No key is held in a test process.
    EXPECT_EQ(pair.PeerReceives(kInputMessageSize), std::string(4, '\0'));
}

TEST(LoopbackMessages, SendingToAClosedPeerFailsWithoutEndingTheProgram) {
    LoopbackPair pair;
    ASSERT_TRUE(pair.Ready());
    SmallMatch server;
    pair.peer.Close();
    StderrCapture capture;
    int result = 0;
    for (int attempt = 0; attempt < 50 && result == 0; ++attempt) {
        result = SendState(pair.game.socket, server.match);
        Pause(10);
    }
    EXPECT_EQ(result, 1);
    EXPECT_EQ(capture.Text().rfind("SDLNet_TCP_Send: ", 0), 0u) << capture.Text();
}

// --- The server's listening socket -------------------------------------------------------

Uint16 FreePort() {
    Uint16 port = 0;
    Fd probe(ListenOnLoopback(&port));
    return probe.fd >= 0 ? port : 0;
}

TCPsocket ListenWithSdlNet(Uint16 port) {
    IPaddress address{};
    SDLNet_ResolveHost(&address, nullptr, port);
    return SDLNet_TCP_Open(&address);
}

TEST(ServerSocket, AcceptDoesNotWaitAndTheAcceptedSocketBlocksForData) {
    Uint16 port = FreePort();
    ASSERT_NE(port, 0);
    SdlSocket listening(ListenWithSdlNet(port));
    ASSERT_NE(listening.socket, nullptr) << SDL_GetError();
    EXPECT_EQ(SDLNet_TCP_Accept(listening.socket), nullptr);

    SdlSocket client(ConnectToLoopback(port));
    ASSERT_NE(client.socket, nullptr);
    SdlSocket accepted(nullptr);
    for (int i = 0; i < 200 && accepted.socket == nullptr; ++i) {
        accepted.socket = SDLNet_TCP_Accept(listening.socket);
        Pause(5);
    }
    ASSERT_NE(accepted.socket, nullptr);

    std::thread sender([&] {
        Pause(150);
        Uint8 bytes[kInputMessageSize];
        EncodeInputMessage(2, bytes);
        SDLNet_TCP_Send(client.socket, bytes, kInputMessageSize);
    });
    gPreviousRemoteFire = 0;
    SmallMatch server;
    EXPECT_EQ(ReceiveInput(accepted.socket, &server.match, kScreen), 0);
    sender.join();
    EXPECT_EQ(server.match.pieces[kCannon2].x, 304);
}

TEST(ServerSocket, ThePortOpensAgainAfterTheNetworkLayerWasShutDown) {
    Uint16 port = FreePort();
    ASSERT_NE(port, 0);
    for (int round = 0; round < 2; ++round) {
        TCPsocket listening = ListenWithSdlNet(port);
        ASSERT_NE(listening, nullptr) << "round " << round << ": " << SDL_GetError();
        TCPsocket client = ConnectToLoopback(port);
        ASSERT_NE(client, nullptr);
        TCPsocket accepted = nullptr;
        for (int i = 0; i < 200 && accepted == nullptr; ++i) {
            accepted = SDLNet_TCP_Accept(listening);
            Pause(5);
        }
        ASSERT_NE(accepted, nullptr);
        // The order of a match's clean-up: connection, listening socket, network layer.
        SDLNet_TCP_Close(accepted);
        SDLNet_TCP_Close(listening);
        SDLNet_TCP_Close(client);
        SDLNet_Quit();
        ASSERT_EQ(SDLNet_Init(), 0);
    }
}

// --- The address entry ------------------------------------------------------------------

class AddressKeys : public ::testing::Test {
   protected:
    AddressAction Pass() { return StepAddressEntry(&entry, keys.Snapshot()); }
    void Tap(SDLKey key) {
        keys.Press(key);
        Pass();
        keys.Release(key);
        Pass();
    }

    AddressEntry entry{};
    FakeKeys keys;
};

TEST_F(AddressKeys, EachPressActsOnceAndASecondHeldKeyWaitsForAllToBeReleased) {
    keys.Press(SDLK_1);
    EXPECT_EQ(Pass(), AddressAction::Edited);
    EXPECT_EQ(Pass(), AddressAction::None);
    keys.Press(SDLK_2);
    EXPECT_EQ(Pass(), AddressAction::None);
    keys.Release(SDLK_1);
    EXPECT_EQ(Pass(), AddressAction::None) << "2 is still held";
    EXPECT_STREQ(entry.text, "1");
    keys.Release(SDLK_2);
    Pass();
    Tap(SDLK_2);
    EXPECT_STREQ(entry.text, "12");
}

TEST_F(AddressKeys, DigitsPeriodAndBackspaceEditTheText) {
    for (SDLKey key : {SDLK_1, SDLK_2, SDLK_7, SDLK_PERIOD, SDLK_0, SDLK_9, SDLK_BACKSPACE}) {
        Tap(key);
    }
    EXPECT_STREQ(entry.text, "127.0");
}

TEST_F(AddressKeys, TheFirstListedKeyWinsWhenTwoArePressedTogether) {
    keys.Press(SDLK_PERIOD);
    keys.Press(SDLK_3);
    EXPECT_EQ(Pass(), AddressAction::Edited);
    EXPECT_STREQ(entry.text, "3");
}

TEST_F(AddressKeys, BackspaceOnAnEmptyTextDoesNothing) {
    keys.Press(SDLK_BACKSPACE);
    EXPECT_EQ(Pass(), AddressAction::None);
    EXPECT_STREQ(entry.text, "");
    EXPECT_EQ(entry.latch, 1);
}

TEST_F(AddressKeys, KeypadDigitsAndOtherKeysAreIgnored) {
    for (SDLKey key : {SDLK_KP1, SDLK_KP0, SDLK_KP_PERIOD, SDLK_KP_ENTER, SDLK_a, SDLK_MINUS}) {
        keys.Press(key);
        EXPECT_EQ(Pass(), AddressAction::None);
        EXPECT_EQ(entry.latch, 0);
        keys.Release(key);
    }
    EXPECT_STREQ(entry.text, "");
}

TEST_F(AddressKeys, AFullTextTakesNoMoreCharactersButStillEditsAndConnects) {
    for (int i = 0; i < 60; ++i) {
        Tap(i % 2 ? SDLK_PERIOD : SDLK_8);
    }
    EXPECT_EQ(strlen(entry.text), static_cast<size_t>(kAddressCapacity - 1));
    keys.Press(SDLK_5);
    EXPECT_EQ(Pass(), AddressAction::None);
    keys.Release(SDLK_5);
    Pass();
    Tap(SDLK_BACKSPACE);
    EXPECT_EQ(strlen(entry.text), static_cast<size_t>(kAddressCapacity - 2));
    keys.Press(SDLK_RETURN);
    EXPECT_EQ(Pass(), AddressAction::Connect);
    EXPECT_EQ(Pass(), AddressAction::None) << "once per press";
}

TEST(Spinner, FourSymbolsOfTenPassesEach) {
    const char* const expected[] = {" - ", " \\ ", " : ", " / "};
    for (int pass = 0; pass < 40; ++pass) {
        EXPECT_STREQ(SpinnerSymbol(pass), expected[pass / 10]) << "pass " << pass;
    }
    EXPECT_STREQ(SpinnerSymbol(45), " - ");
}

}  // namespace
