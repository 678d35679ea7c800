#include "themesound.h"

#include <canberra.h>
#include <dlfcn.h>

#include <type_traits>
#include <utility>

// The functions the game calls, typed by the library's own header.
struct ThemeSound::Library {
    decltype(&ca_context_create) create = nullptr;
    decltype(&ca_context_change_props) changeProps = nullptr;
    decltype(&ca_context_open) open = nullptr;
    decltype(&ca_context_play) play = nullptr;
    decltype(&ca_context_destroy) destroy = nullptr;
};

ThemeSound::ThemeSound(const char* libraryFile)
    : libraryName(libraryFile)
{
}

ThemeSound::~ThemeSound() { disconnect(); }

void ThemeSound::disconnect()
{
    if (context)
        library->destroy(std::exchange(context, nullptr));
}

// The handle is never closed: the library's sound backends keep threads and handlers of
// their own, and the process keeps it loaded at no cost once it has sounded.
bool ThemeSound::loadLibrary()
{
    if (library)
        return true;
    if (libraryMissing)
        return false;
    void* handle = dlopen(libraryName, RTLD_LAZY | RTLD_LOCAL);
    if (!handle) {
        libraryMissing = true;
        return false;
    }
    auto loaded = std::make_unique<Library>();
    const auto find = [handle](auto& function, const char* name) {
        function
            = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, name));
        return function != nullptr;
    };
    if (!find(loaded->create, "ca_context_create")
        || !find(loaded->changeProps, "ca_context_change_props")
        || !find(loaded->open, "ca_context_open") || !find(loaded->play, "ca_context_play")
        || !find(loaded->destroy, "ca_context_destroy")) {
        libraryMissing = true;
        return false;
    }
    library = std::move(loaded);
    return true;
}

bool ThemeSound::play(const char* eventId, const QString& description)
{
    if (!loadLibrary())
        return false;
    if (!context) {
        if (library->create(&context) != CA_SUCCESS) {
            context = nullptr;
            return false;
        }
        library->changeProps(context, CA_PROP_APPLICATION_NAME, "Quorvel Naval",
            CA_PROP_APPLICATION_ID, "quorvel-naval", CA_PROP_APPLICATION_ICON_NAME, "quorvel-naval",
            nullptr);
        if (library->open(context) != CA_SUCCESS) {
            disconnect();
            return false;
        }
    }
    const int played = library->play(context, 0, CA_PROP_EVENT_ID, eventId,
        CA_PROP_EVENT_DESCRIPTION, description.toUtf8().constData(), nullptr);
    // A server gone since the connection was made leaves the context refusing every sound;
    // a sound missing from the theme does not.
    if (played == CA_ERROR_STATE || played == CA_ERROR_DISCONNECTED
        || played == CA_ERROR_NOTAVAILABLE)
        disconnect();
    return played == CA_SUCCESS;
}
