#include "library/PlayMemory.h"

#include <locale.h>
#include <stdlib.h>

#include <cmath>
#include <limits>
#include <utility>

#include "library/NumberText.h"
#include "library/XmlDocument.h"
#include "playlist/Playlist.h"

namespace orvella {
namespace {

// "starttime" may carry a fraction ("754.9"); the whole seconds count. The C locale keeps
// the decimal point a point whatever the user's locale says.
int64_t WholeSeconds(const std::string& text) {
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    if (text.empty() || !cLocale) return 0;
    double value = ::strtod_l(text.c_str(), nullptr, cLocale);
    if (std::isnan(value)) return 0;
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    if (value >= kLimit) return std::numeric_limits<int64_t>::max();
    if (value < -kLimit) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(value);
}

std::string Attribute(const XmlElement& element, const char* name) {
    std::string value;
    element.GetAttribute(name, &value);
    return value;
}

}  // namespace

void WriteMedia(XmlDocument& document, const MediaSnapshot& list) {
    if (document.AddElement("Media", "root") != XmlDocument::kOk) return;
    XmlElement media = document.Element("root/Media");
    media.SetAttribute("count", std::to_string(list.Count()));
    media.SetAttribute("current", std::to_string(list.Current()));
    for (size_t i = 0; i < list.Count(); ++i) {
        const PlaylistItem item = list.At(i);
        XmlElement data = document.AppendElement("Data", media);
        data.SetAttribute("id", std::to_string(i));
        data.SetAttribute("filename", item.filename);
        data.SetAttribute("shortname", item.shortname);
        data.SetAttribute("starttime", std::to_string(item.starttime));
        data.SetAttribute("subtitle", item.subtitle);
    }
}

MediaRecord ReadMedia(const XmlDocument& document) {
    MediaRecord record;
    std::string text;
    if (document.GetAttribute("root/Media", "current", &text) == XmlDocument::kOk)
        record.current = DecimalValue(text);
    // The entries are the "Data" elements there are, whatever "count" says: a count that
    // does not match would drop entries or invent empty ones. An element that damage cut
    // short is no entry.
    const XmlElement cut = document.CutElement();
    for (const XmlElement& data : document.Elements("root/Media/Data")) {
        if (data == cut) continue;
        PlaylistItem item;
        item.filename = Attribute(data, "filename");
        item.shortname = Attribute(data, "shortname");
        item.starttime = WholeSeconds(Attribute(data, "starttime"));
        item.subtitle = Attribute(data, "subtitle");
        record.entries.push_back(std::move(item));
    }
    return record;
}

void ApplyMedia(const MediaRecord& record, Playlist& list, bool skipDuplicates) {
    list.AppendAll(record.entries, skipDuplicates);
    if (list.Empty()) return;
    long long last = static_cast<long long>(list.Count()) - 1;
    long long current = record.current < 0 ? 0 : record.current > last ? last : record.current;
    list.SetCurrent(static_cast<size_t>(current));
}

bool SavePlaylistFile(const std::string& path, const Playlist& list, bool saveLocation) {
    XmlDocument document;
    if (!document.Create(path)) return false;
    document.RemoveRoot();
    document.CreateRoot();
    WriteMedia(document, MediaSnapshots().Take(list, saveLocation));
    return document.Save() == XmlDocument::kOk;
}

bool LoadPlaylistFile(const std::string& path, MediaRecord* record) {
    if (!record) return false;
    XmlDocument document;
    // A file without "Media" holds no play list, not an empty one.
    if (!document.Open(path) || !document.Element("root/Media")) return false;
    *record = ReadMedia(document);
    return true;
}

}  // namespace orvella
