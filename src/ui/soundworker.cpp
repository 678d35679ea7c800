#include "soundworker.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <utility>

struct SoundWorker::Shared {
    struct Request {
        const char* eventId;
        QString description;
        Time asked;
    };

    explicit Shared(const char* libraryFile)
        : theme(libraryFile)
    {
    }

    std::mutex mutex;
    std::condition_variable wake;
    std::optional<Request> request; // handed over, not yet taken
    bool playing = false;
    bool stopping = false;
    QObject* receiver = nullptr; // null once the owner is gone
    Failed failed;
    ThemeSound theme; // the thread's alone
};

SoundWorker::SoundWorker(Failed failed, const char* libraryFile)
    : shared(std::make_shared<Shared>(libraryFile))
{
    shared->receiver = &receiver;
    shared->failed = std::move(failed);
}

SoundWorker::~SoundWorker()
{
    bool playing = false;
    {
        const std::lock_guard lock(shared->mutex);
        shared->stopping = true;
        shared->receiver = nullptr;
        playing = shared->playing;
    }
    shared->wake.notify_one();
    if (!thread.joinable())
        return;
    // A sound still playing may be waiting on a server that never answers: the thread keeps
    // what it shares, and ends when the sound does, or with the process.
    if (playing)
        thread.detach();
    else
        thread.join();
}

bool SoundWorker::offer(const char* eventId, const QString& description, Time asked)
{
    {
        const std::lock_guard lock(shared->mutex);
        if (shared->playing || shared->request)
            return false;
        shared->request = Shared::Request { eventId, description, asked };
    }
    if (!thread.joinable())
        thread = std::thread(run, shared);
    else
        shared->wake.notify_one();
    return true;
}

void SoundWorker::run(std::shared_ptr<Shared> shared)
{
    std::unique_lock lock(shared->mutex);
    for (;;) {
        shared->wake.wait(lock, [&] { return shared->stopping || shared->request; });
        if (shared->stopping)
            return;
        const Shared::Request request = *std::exchange(shared->request, std::nullopt);
        shared->playing = true;
        lock.unlock();
        const bool played = shared->theme.play(request.eventId, request.description);
        lock.lock();
        shared->playing = false;
        // Posted under the lock, while the owner cannot go.
        if (!played && shared->receiver) {
            QMetaObject::invokeMethod(
                shared->receiver,
                [failed = shared->failed, asked = request.asked] { failed(asked); },
                Qt::QueuedConnection);
        }
    }
}
