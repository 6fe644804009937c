// Whether a newer version of the player exists: "version.ini" fetched from the update
// server on a worker thread, its answer posted to the main window. One check runs at a
// time; a check the user asks for while another runs takes over its answer.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "app/StartupRules.h"
#include "platform/Platform.h"

namespace orvella {

// Posted when the check could not tell (no server set, no answer, a broken file).
constexpr UINT WM_UPDATE_FAILED = 0x04B6;

// ---- pure rules, tested directly ---------------------------------------------------

// The remote version from the file's "Gerneral" section (spelled so on the server): its
// "major_version", "minor_version" and "build", each 0..65535. Nothing when one is
// missing or unreadable.
std::optional<ProgramVersion> ParseVersionFile(const std::string& bytes);
// Major decides, then minor, then build.
bool IsNewerVersion(const ProgramVersion& own, const ProgramVersion& remote);
// base + "version.ini", with a "/" between them where base lacks one; empty for no base.
std::string VersionFileUrl(const std::string& base);
// The server: $ORVELLA_UPDATE_BASE_URL when set, else the one the build was given.
std::string UpdateBaseUrl();

enum class UpdateOutcome { Newer, Current, Failed };
// The message the worker posts for an outcome, and back.
UINT UpdateMessage(UpdateOutcome outcome);
// What the user sees: an automatic check speaks only of a newer version.
bool ShowsUpdateAnswer(UpdateOutcome outcome, bool manual);
// The version as a message carries it: wParam = (minor << 16) | major, lParam = build.
void PackVersion(const ProgramVersion& version, WPARAM* wParam, LPARAM* lParam);
ProgramVersion UnpackVersion(WPARAM wParam, LPARAM lParam);

// ---- the check ------------------------------------------------------------------------

class UpdateCheck {
public:
    UpdateCheck() = default;
    ~UpdateCheck() { Stop(); }
    UpdateCheck(const UpdateCheck&) = delete;
    UpdateCheck& operator=(const UpdateCheck&) = delete;

    // Starts a check of own against the server, answering to target, the file kept in
    // dataFolder. While one runs, a manual request only makes its answer manual.
    void Start(bool manual, const ProgramVersion& own, HWND target, const std::string& dataFolder);
    // The answer arrived: the check is over; true when the user asked for it.
    bool Finish();
    bool Running() const { return m_running; }
    // At exit: a transfer under way ends at once and the worker is joined.
    void Stop();

private:
    struct Shared {
        std::atomic<bool> abort{false};
    };
    static void Work(std::shared_ptr<Shared> shared, ProgramVersion own, HWND target,
                     std::string url, std::string file);

    std::shared_ptr<Shared> m_shared;
    std::thread m_worker;
    bool m_running = false;
    bool m_manual = false;
};

}  // namespace orvella
