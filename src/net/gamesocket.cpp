#include "gamesocket.h"

#include "connectionevents.h"

#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace {

// The network module as this process opened it, once: its entries, or the loader's words
// for why it could not. It stays open until the process ends.
struct OpenedModule {
    const NetworkModule* entries = nullptr;
    std::string failure;
};

OpenedModule loaderFailure()
{
    const char* const words = dlerror();
    return { nullptr, words != nullptr ? words : "the network module cannot be opened" };
}

// The module lies where it is installed relative to the programs, in the build tree as in
// an installation, so it is found from the folder of the running program.
OpenedModule openModule()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return { nullptr, "/proc/self/exe: " + error.message() };
    const std::filesystem::path file
        = (program.parent_path() / QUORVEL_NETWORK_MODULE).lexically_normal();
    void* const handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        return loaderFailure();
    const auto entry
        = reinterpret_cast<NetworkModuleEntryFunction>(dlsym(handle, NetworkModuleEntry));
    if (entry == nullptr)
        return loaderFailure();
    if (const NetworkModule* entries = entry(QUORVEL_VERSION))
        return { entries, {} };
    return { nullptr, file.string() + ": not the network module of version " QUORVEL_VERSION };
}

const OpenedModule& networkModule()
{
    static const OpenedModule opened = openModule();
    return opened;
}

} // namespace

GameSocket::GameSocket(ConnectionEvents& events)
    : owner(events)
{
}

GameSocket::~GameSocket() = default;

SocketBackend* GameSocket::opened()
{
    if (backend == nullptr && networkModule().entries != nullptr) {
        backend = networkModule().entries->makeSocket(owner);
        backend->setConnectTimeout(connectTimeoutMs);
    }
    return backend.get();
}

bool GameSocket::listen(std::uint16_t port, bool loopbackOnly)
{
    failedOpen = {};
    if (SocketBackend* socket = opened())
        return socket->listen(port, loopbackOnly);
    failedOpen
        = { ConnectionFailure::Other, SocketBackend::listeningAddress(loopbackOnly).toStdString(),
              port, networkModule().failure };
    return false;
}

const ConnectionFailure& GameSocket::listenFailure() const
{
    return backend != nullptr ? backend->listenFailure() : failedOpen;
}

void GameSocket::connectToHost(const QString& host, std::uint16_t port)
{
    if (SocketBackend* socket = opened()) {
        socket->connectToHost(host, port);
        return;
    }
    owner.onConnectFailed(
        { ConnectionFailure::Other, host.toStdString(), port, networkModule().failure });
}

void GameSocket::setConnectTimeout(int ms)
{
    connectTimeoutMs = ms;
    if (backend != nullptr)
        backend->setConnectTimeout(ms);
}

bool GameSocket::accept(GameSocket& listening)
{
    return listening.backend != nullptr && opened() != nullptr
        && backend->accept(*listening.backend);
}

void GameSocket::refuseWaiting()
{
    if (backend != nullptr)
        backend->refuseWaiting();
}

void GameSocket::close()
{
    if (backend != nullptr)
        backend->close();
}

long GameSocket::send(std::string_view bytes)
{
    return backend != nullptr ? backend->send(bytes) : -1;
}

std::uint16_t GameSocket::localPort() const
{
    return backend != nullptr ? backend->localPort() : 0;
}

bool GameSocket::isConnected() const { return backend != nullptr && backend->isConnected(); }

qint64 GameSocket::bytesUnread() const { return backend != nullptr ? backend->bytesUnread() : 0; }

QStringList GameSocket::reachableAddresses()
{
    const NetworkModule* entries = networkModule().entries;
    return entries != nullptr ? entries->reachableAddresses() : QStringList();
}
