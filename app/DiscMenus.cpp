#include "app/DiscMenus.h"

#include <string>

#include "library/LocalStrings.h"
#include "ui/MenuWnd.h"
#include "uilib/PaintManager.h"
#include "uilib/controls/Label.h"
#include "uilib/controls/List.h"
#include "uilib/controls/ListContainerElement.h"

namespace orvella {

namespace {

std::string Label(int32_t number, const std::string& text) { return std::to_string(number) + "(" + text + ")"; }

DiscMenuRow Row(const char* prefix, int32_t number, const std::string& text, bool marked) {
    return DiscMenuRow{prefix + std::to_string(number), Label(number, text), marked};
}

// Shown alone when there is nothing to choose.
DiscMenuRow None() { return DiscMenuRow{"", LocalString(50, "none"), false}; }

std::vector<DiscMenuRow> TitleRows(const MenuState& s) {
    const TrackTable& titles = s.tables.titleLengths;
    if (titles.empty()) return {None()};
    std::vector<DiscMenuRow> rows{Row("ID_MAINMENU_DVD_TITLE_", -1, LocalString(48, "DVD Menu"), false)};
    for (const auto& [title, length] : titles)
        rows.push_back(Row("ID_MAINMENU_DVD_TITLE_", title, length, title == s.tables.currentTitle));
    return rows;
}

std::vector<DiscMenuRow> SubtitleRows(const MenuState& s) {
    const TrackTable& tracks = s.tables.subtitleTracks;
    const TrackTable& files = s.tables.subtitleFiles;
    if (tracks.empty() && files.empty()) return {None()};
    const int32_t current = s.tables.currentSubtitle;
    std::vector<DiscMenuRow> rows{Row("ID_MAINMENU_DVD_SUBTITLE_", -1, LocalString(49, "disabled"), current == -1)};
    int32_t place = 0;
    for (const auto& track : tracks) {
        rows.push_back(Row("ID_MAINMENU_DVD_SUBTITLE_", place, track.second, place == current));
        ++place;
    }
    place = 0;
    for (const auto& file : files) rows.push_back(Row("ID_MAINMENU_DVD_EXTERNAL_SUBTITLE_", place++, file.second, false));
    return rows;
}

std::vector<DiscMenuRow> AudioRows(const MenuState& s) {
    if (s.tables.audioTracks.empty()) return {None()};
    std::vector<DiscMenuRow> rows;
    for (const auto& [id, language] : s.tables.audioTracks)
        rows.push_back(Row("ID_MAINMENU_DVD_AUDIO_", id, language, id == s.tables.currentAudio));
    return rows;
}

std::vector<DiscMenuRow> ChapterRows(const MenuState& s) {
    if (s.tables.chapters.empty()) return {None()};
    std::vector<DiscMenuRow> rows;
    for (const auto& [index, start] : s.tables.chapters)
        rows.push_back(Row("ID_MAINMENU_DVD_CHAPTER_", index, start, index == s.tables.currentChapter));
    return rows;
}

const struct {
    const char* item;
    std::vector<DiscMenuRow> (*rows)(const MenuState&);
} kBuilders[] = {
    {"ID_MAINMENU_DVD_TITLE", TitleRows},
    {"ID_MAINMENU_DVD_SUBTITLE", SubtitleRows},
    {"ID_MAINMENU_DVD_AUDIO", AudioRows},
    {"ID_MAINMENU_DVD_CHAPTER", ChapterRows},
};

}  // namespace

std::vector<DiscMenuRow> DiscMenuRows(const MenuState& state, const std::string& item) {
    for (const auto& builder : kBuilders)
        if (item == builder.item) return builder.rows(state);
    return {};
}

bool HasDiscChoices(const MenuState& s) {
    const MediaTables& t = s.tables;
    return s.dvdNavigation || !t.titleLengths.empty() || t.audioTracks.size() > 1 || !t.subtitleTracks.empty() ||
           !t.subtitleFiles.empty() || t.chapters.size() > 1;
}

void AddDiscMenuRows(const std::vector<DiscMenuRow>& rows, uilib::CListUI& list) {
    uilib::CPaintManagerUI* pm = list.GetManager();
    const char* rowLook = pm ? pm->GetDefaultAttributeList("ListContainerElement") : nullptr;
    const char* labelLook = pm ? pm->GetDefaultAttributeList("Label") : nullptr;
    for (const DiscMenuRow& r : rows) {
        uilib::CListContainerElementUI* row = CMenuWnd::CreateRow();
        if (rowLook) row->ApplyAttributeList(rowLook);
        row->SetName(r.name.c_str());
        auto* label = new uilib::CLabelUI();
        if (labelLook) label->ApplyAttributeList(labelLook);
        label->SetText(r.label.c_str());
        row->Add(label);
        list.Add(row);
        // "none" is there to be seen, not chosen.
        if (r.name.empty()) row->SetEnabled(false);
    }
}

}  // namespace orvella
