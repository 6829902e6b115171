// trellisor-cli watch: a linked sprite folder without a window. The folder's pictures go
// into IN's object and OUT is written again (and the preview picture drawn again) each
// time a change in the folder has settled; SIGINT and SIGTERM end it between two updates.
#include "cli/WatchCommand.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <iostream>

#include "cli/CliSupport.h"
#include "cli/PreviewCommands.h"
#include "cli/SpriteCommands.h"
#include "imageio/PictureFiles.h"
#include "imageio/SpriteFolderLink.h"
#include "object/ObjectFile.h"
#include "preview/PreviewIcons.h"
#include "watch/FolderEvents.h"

namespace trellisor {

namespace {

// One line of the log on stdout: "12:01:05 text".
void say(const std::string& text) {
    char clock[16] = "";
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&t, &local)) std::strftime(clock, sizeof clock, "%H:%M:%S", &local);
    std::cout << clock << ' ' << text << std::endl;
}

// SIGINT and SIGTERM as a descriptor to wait on: they end the loop between two updates,
// never in the middle of writing OUT.
class StopSignals {
public:
    StopSignals() {
        sigemptyset(&m_set);
        sigaddset(&m_set, SIGINT);
        sigaddset(&m_set, SIGTERM);
        ::sigprocmask(SIG_BLOCK, &m_set, &m_old);
        m_fd = ::signalfd(-1, &m_set, SFD_CLOEXEC);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;
    ~StopSignals() {
        if (m_fd >= 0) ::close(m_fd);
        ::sigprocmask(SIG_SETMASK, &m_old, nullptr);
    }
    int descriptor() const { return m_fd; }
    // Takes the signal that came, so that it is not delivered once unblocked.
    void take() const {
        signalfd_siginfo info;
        const ssize_t n = ::read(m_fd, &info, sizeof info);
        (void)n;  // nothing to do when it was taken already
    }

private:
    sigset_t m_set{}, m_old{};
    int m_fd = -1;
};

struct Watch {
    std::string dir, out;
    std::optional<std::string> picture;
    std::unique_ptr<FrameRenderer> renderer;  // with --render
    PathObject obj;
    ObjectTexts texts;

    // Takes changed pictures in; the icons follow as the editor's do (generated ones are
    // redrawn, hand-drawn and imported ones kept).
    Result<int> takeIn(SpriteFolderLink& link, const std::vector<std::string>& changed) {
        const PathObject before = obj.clone();
        auto count = link.update(obj, changed);
        if (count) followIcons(before, obj);
        return count;
    }

    // OUT as Save writes it, then the preview picture. Each file is replaced only once written
    // whole.
    Status write() {
        Status saved = saveAsEditor(obj, out, texts);
        if (!saved) return Status::fail("cannot save " + out + ": " + saved.error());
        return renderer ? writePng(renderer->draw(obj), *picture) : saved;
    }

    // Waits for the folder's events and signals until stopped (0) or the folder goes (1).
    int follow(SpriteFolderLink& link, FolderEvents& events, const StopSignals& stop) {
        FolderWatch& watch = link.watch();
        WatchTime nextLook = steadyWatchTime();  // without events: a look at the files every interval
        for (;;) {
            std::optional<WatchTime> due = watch.nextCheck();
            if (!events.isOpen()) due = due ? std::min(*due, nextLook) : nextLook;
            const int timeout = due ? int(std::max(WatchTime{0}, *due - steadyWatchTime()).count()) : -1;
            pollfd fds[2] = {{stop.descriptor(), POLLIN, 0}, {events.descriptor(), POLLIN, 0}};
            ::poll(fds, events.isOpen() ? 2 : 1, timeout);
            if (fds[0].revents & POLLIN) {
                stop.take();
                return 0;
            }
            const WatchTime now = steadyWatchTime();
            if (events.isOpen()) {
                events.deliver(watch, now);
            } else if (now >= nextLook) {
                watch.touched("", now);
                nextLook = now + FolderEvents::kFallbackInterval;
            }
            auto update = watch.poll(now, [&](const std::vector<std::string>& changed) {
                auto count = takeIn(link, changed);
                return count ? Status::ok() : Status::fail(count.error());
            });
            if (update && report(update.value())) return 1;
        }
    }

    // Writes and says what an update did; true when the folder has gone.
    bool report(const FolderUpdate& update) {
        switch (update.kind) {
            case FolderUpdate::Kind::FolderGone:
                say(dir + " is gone (deleted or renamed): stopped; " + out + " stays as it was");
                return true;
            case FolderUpdate::Kind::Refused:
                say("refused: " + update.reason + "; " + out + " stays as it was");
                break;
            case FolderUpdate::Kind::Applied:
                if (!update.changed.empty()) {
                    Status written = write();
                    say(written ? out + " updated: " + nameList(update.changed) : written.error());
                }
                if (!update.missing.empty())
                    say("missing: " + nameList(update.missing) + " (their sprites keep their pixels)");
                break;
        }
        return false;
    }
};

int runWatch(const CommandLine& line) {
    auto matching = matchingOf(line);
    if (!matching) return line.fail(matching.error());
    Watch w{line.positional(1), line.positional(2), line.value("o"), {}, {}, {}};
    const auto view = line.value("render");
    if (view.has_value() != w.picture.has_value()) return line.fail("--render VIEW and -o PNG go together");
    if (view) {
        auto renderer = FrameRenderer::make(*view);
        if (!renderer) return line.fail(renderer.error());
        w.renderer = std::move(renderer.value());
    }
    // Blocked before any thread starts (Qt's image conversions start some), so that no
    // thread can take the signal and end the process while it writes OUT.
    std::optional<StopSignals> stop;
    if (!line.isSet("once")) stop.emplace();
    auto obj = loadForCli(line.positional(0));
    if (!obj) return cliFail(obj.error());
    w.obj = std::move(obj.value());
    w.texts = objectStrings(w.obj);

    SpriteFolderLink link(w.dir, matching.value());
    const PathObject loaded = w.obj.clone();
    auto start = link.start(w.obj);
    if (!start) return line.fail(start.error());
    followIcons(loaded, w.obj);
    // Watched from before the first line on: a picture saved once that is said is taken in.
    std::optional<FolderEvents> events;
    if (stop) events.emplace(w.dir, link.watch(), steadyWatchTime());
    if (Status written = w.write(); !written) return line.fail(written.error());
    say(w.out + (start->exported
                     ? " written; " + w.dir + " filled with " + std::to_string(start->count) + " sprites"
                     : " written: " + std::to_string(start->count) + " sprites changed by " + w.dir));
    return stop ? w.follow(link, *events, *stop) : 0;
}

}  // namespace

void registerWatchCommand(std::vector<CliCommand>& commands) {
    commands.push_back(
        {"watch",
         {kIn,
          {"DIR", "The sprite folder to follow (an empty one is first filled with every sprite)."},
          kOut},
         "Imports the pictures of DIR (laid out as sprites writes them) into IN's object and writes "
         "OUT, then follows DIR: each time pictures or sprites.json change and the writing has settled, "
         "the changed pictures are imported and OUT is written again, with one line on stdout per update "
         "or refusal (\"12:01:05 OUT updated: 055.png, 056.png\"). A picture that cannot be read is tried "
         "again until it has not changed for 2 s; a refused update leaves OUT as it was. Runs until "
         "interrupted (Ctrl+C ends it between two updates) or until DIR is deleted or renamed (exit "
         "code 1).",
         {QCommandLineOption("render", "Draws this view of render after each update (needs -o).", "VIEW"),
          QCommandLineOption("o", "The PNG file --render writes.", "PNG"), ditherOption(), rampsOption(),
          QCommandLineOption("once", "Imports once, writes OUT and ends.")},
         runWatch});
}

}  // namespace trellisor
