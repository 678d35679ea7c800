#pragma once

#include "themesound.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

// The theme's sounds, played on a thread of their own: connecting to the sound server and
// starting a sound wait on the server, and a server that hangs holds a caller up for half a
// minute each time. A sound is handed over only while the thread is free; the caller makes up
// for one that could not be handed over at once, and hears of one that could not be played
// through its own event loop, on its own thread. The thread starts with the first sound.
class SoundWorker {
public:
    using Time = std::chrono::steady_clock::time_point;
    // Told of a sound that was not played, with the time given when it was handed over.
    using Failed = std::function<void(Time asked)>;

    explicit SoundWorker(Failed failed, const char* libraryFile = "libcanberra.so.0");
    // Waits for the thread when it is free; one still playing is left to finish on its own.
    ~SoundWorker();
    SoundWorker(const SoundWorker&) = delete;
    SoundWorker& operator=(const SoundWorker&) = delete;

    // Hands the sound to the thread; false while it is busy with the last one.
    bool offer(const char* eventId, const QString& description, Time asked);

private:
    struct Shared;
    static void run(std::shared_ptr<Shared> shared);

    QObject receiver; // failures are delivered to it, by the caller's event loop
    std::shared_ptr<Shared> shared;
    std::thread thread;
};
