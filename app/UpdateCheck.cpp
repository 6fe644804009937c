#include "app/UpdateCheck.h"

#include <cstdlib>

#include "library/AtomicFile.h"
#include "library/HttpFetch.h"
#include "library/IniFile.h"

#ifndef ORVELLA_UPDATE_BASE_URL
#define ORVELLA_UPDATE_BASE_URL ""
#endif

namespace orvella {

namespace {

constexpr const char* kVersionSection = "Gerneral";

const struct {
    UpdateOutcome outcome;
    UINT message;
    bool showsAutomatic;  // a manual check always shows its answer
} kOutcomes[] = {
    {UpdateOutcome::Newer, WM_UPDATE_AVAILABLE, true},
    {UpdateOutcome::Current, WM_UPDATE_CURRENT, false},
    {UpdateOutcome::Failed, WM_UPDATE_FAILED, false},
};

}  // namespace

std::optional<ProgramVersion> ParseVersionFile(const std::string& bytes) {
    const IniFile ini = IniFile::Parse(bytes);
    const auto major = ini.Integer(kVersionSection, "major_version", 0, 65535);
    const auto minor = ini.Integer(kVersionSection, "minor_version", 0, 65535);
    const auto build = ini.Integer(kVersionSection, "build", 0, 65535);
    if (!major || !minor || !build) return std::nullopt;
    ProgramVersion version;
    version.major = static_cast<int>(*major);
    version.minor = static_cast<int>(*minor);
    version.build = static_cast<int>(*build);
    return version;
}

bool IsNewerVersion(const ProgramVersion& own, const ProgramVersion& remote) {
    if (remote.major != own.major) return remote.major > own.major;
    if (remote.minor != own.minor) return remote.minor > own.minor;
    return remote.build > own.build;
}

std::string VersionFileUrl(const std::string& base) {
    if (base.empty()) return std::string();
    return base + (base.back() == '/' ? "" : "/") + "version.ini";
}

std::string UpdateBaseUrl() {
    const char* fromEnvironment = std::getenv("ORVELLA_UPDATE_BASE_URL");
    return fromEnvironment ? fromEnvironment : ORVELLA_UPDATE_BASE_URL;
}

UINT UpdateMessage(UpdateOutcome outcome) {
    for (const auto& row : kOutcomes)
        if (row.outcome == outcome) return row.message;
    return WM_UPDATE_FAILED;
}

bool ShowsUpdateAnswer(UpdateOutcome outcome, bool manual) {
    for (const auto& row : kOutcomes)
        if (row.outcome == outcome) return manual || row.showsAutomatic;
    return manual;
}

void PackVersion(const ProgramVersion& version, WPARAM* wParam, LPARAM* lParam) {
    *wParam = (static_cast<WPARAM>(version.minor & 0xFFFF) << 16) |
              static_cast<WPARAM>(version.major & 0xFFFF);
    *lParam = static_cast<LPARAM>(version.build & 0xFFFF);
}

ProgramVersion UnpackVersion(WPARAM wParam, LPARAM lParam) {
    ProgramVersion version;
    version.major = static_cast<int>(wParam & 0xFFFF);
    version.minor = static_cast<int>((wParam >> 16) & 0xFFFF);
    version.build = static_cast<int>(lParam & 0xFFFF);
    return version;
}

void UpdateCheck::Start(bool manual, const ProgramVersion& own, HWND target,
                        const std::string& dataFolder) {
    if (m_running) {
        m_manual = m_manual || manual;
        return;
    }
    const std::string url = VersionFileUrl(UpdateBaseUrl());
    if (url.empty()) {
        // No server to ask: only the user who asked hears so.
        if (manual) ::PostMessage(target, WM_UPDATE_FAILED, 0, 0);
        m_running = manual;
        m_manual = manual;
        return;
    }
    if (m_worker.joinable()) m_worker.join();  // it has posted its answer and is ending
    m_running = true;
    m_manual = manual;
    m_shared = std::make_shared<Shared>();
    m_worker = std::thread(Work, m_shared, own, target, url, dataFolder + "/version.ini");
}

bool UpdateCheck::Finish() {
    const bool manual = m_manual;
    m_running = false;
    m_manual = false;
    return manual;
}

void UpdateCheck::Stop() {
    if (m_shared) m_shared->abort = true;
    if (m_worker.joinable()) m_worker.join();
    m_running = false;
}

void UpdateCheck::Work(std::shared_ptr<Shared> shared, ProgramVersion own, HWND target,
                       std::string url, std::string file) {
    std::string body;
    std::optional<ProgramVersion> remote;
    if (FetchUrl(url, &body, shared->abort)) {
        remote = ParseVersionFile(body);
        // Kept for a look by hand; the answer does not depend on it.
        if (remote) WriteFileAtomically(file, body);
    }
    if (shared->abort) return;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    if (remote) PackVersion(*remote, &wParam, &lParam);
    const UpdateOutcome outcome = !remote ? UpdateOutcome::Failed
                                  : IsNewerVersion(own, *remote) ? UpdateOutcome::Newer
                                                                 : UpdateOutcome::Current;
    ::PostMessage(target, UpdateMessage(outcome), wParam, lParam);
}

}  // namespace orvella
