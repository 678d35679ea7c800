#pragma once

#include <QString>

#include <memory>

struct ca_context;

// The event sounds of the desktop's sound theme, played by the sound server through
// libcanberra. The library and the connection to the server are both taken at the first
// sound and never at start-up: the library brings its codecs and its cache with it. Both
// connecting and starting a sound wait on the server, for half a minute when it hangs, so a
// caller that must not wait plays on a thread of its own (SoundWorker). The server plays
// the sound on its own. Where the library is missing or no server runs, a sound fails at
// once; after a server has gone, the next sound looks for one afresh.
class ThemeSound {
public:
    // The library by its file name; the test of a missing one names one that is not there.
    explicit ThemeSound(const char* libraryFile = "libcanberra.so.0");
    ~ThemeSound(); // lets the connection go; the library stays for the process
    ThemeSound(const ThemeSound&) = delete;
    ThemeSound& operator=(const ThemeSound&) = delete;

    // Starts the theme's sound for the event id ("dialog-error"); false when it cannot be
    // played. The description says what happened, for whoever cannot hear it.
    bool play(const char* eventId, const QString& description);

private:
    struct Library;
    bool loadLibrary();
    void disconnect();

    const char* libraryName;
    std::unique_ptr<Library> library; // its functions, once loaded
    bool libraryMissing = false; // looked for once, not found
    ca_context* context = nullptr; // connected to a server, or none
};
