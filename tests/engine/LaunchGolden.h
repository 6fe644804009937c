// The golden launch vectors: the options they start from and the files that hold them.
#pragma once

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/LaunchOptions.h"

namespace orvella_test {

using Arguments = std::vector<std::string>;

// The options every golden vector starts from: the settings defaults, one play-list
// entry at 0 s, a relative media path.
inline orvella::LaunchOptions BaseOptions() {
    orvella::LaunchOptions o;
    o.programFolder = "/opt/orvella/";
    o.currentFolder = "/home/user/videos";
    o.mediaPath = "clip.mp4";
    o.videoWindow = 1234;
    o.hasEntry = true;
    return o;
}

// tests/data/launch/<name>.txt: one argument per line after "#" comment lines.
inline Arguments Golden(const std::string& name) {
    std::ifstream in(std::string(ORVELLA_SOURCE_DIR) + "/tests/data/launch/" + name + ".txt");
    Arguments lines;
    std::string line;
    while (std::getline(in, line))
        if (line.empty() || line[0] != '#') lines.push_back(line);
    return lines;
}

// Each golden vector's name and the change it makes to the base options.
struct GoldenCase {
    const char* name;
    std::function<void(orvella::LaunchOptions&)> change;
};

inline const std::vector<GoldenCase>& GoldenCases() {
    static const std::vector<GoldenCase> cases = {
        {"defaults", [](orvella::LaunchOptions&) {}},
        {"videoformat_0", [](orvella::LaunchOptions& o) { o.videoformat = 0; }},
        {"videoformat_1", [](orvella::LaunchOptions& o) { o.videoformat = 1; }},
        {"videoformat_2", [](orvella::LaunchOptions& o) { o.videoformat = 2; }},
        {"videoformat_3", [](orvella::LaunchOptions& o) { o.videoformat = 3; }},
        {"videoformat_4", [](orvella::LaunchOptions& o) { o.videoformat = 4; }},
        {"videoformat_5", [](orvella::LaunchOptions& o) { o.videoformat = 5; }},
        {"videoformat_6", [](orvella::LaunchOptions& o) { o.videoformat = 6; }},
        {"mute", [](orvella::LaunchOptions& o) { o.mute = true; o.volume = 80; }},
        {"crop", [](orvella::LaunchOptions& o) {
             o.cropText = "320:240:16:8"; o.videoWidth = 640; o.videoHeight = 480; }},
        {"resume_subtitle", [](orvella::LaunchOptions& o) {
             o.entryStartTime = 754; o.entrySubtitle = "subs/b.srt"; }},
        {"resume_off", [](orvella::LaunchOptions& o) {
             o.savelocation = false; o.entryStartTime = 754; o.entrySubtitle = "b.srt"; }},
        {"resume_once", [](orvella::LaunchOptions& o) {
             o.savelocation = false; o.resumeOnce = true;
             o.entryStartTime = 61; o.entrySubtitle = "/s/b.srt"; }},
        {"dvd", [](orvella::LaunchOptions& o) {
             o.mediaPath = "dvdnav:// -dvd-device /media/cdrom0";
             o.entryStartTime = 754; o.entrySubtitle = "/s/b.srt"; }},
        {"bluray", [](orvella::LaunchOptions& o) {
             o.mediaPath = "br:// -bluray-device /media/bd"; o.entryStartTime = 30; }},
        {"mts", [](orvella::LaunchOptions& o) { o.mediaPath = "/cam/00001.MTS.m2ts"; }},
        {"rotation_0", [](orvella::LaunchOptions& o) { o.rotation = 0; }},
        {"rotation_1", [](orvella::LaunchOptions& o) { o.rotation = 1; }},
        {"rotation_2", [](orvella::LaunchOptions& o) { o.rotation = 2; }},
        {"rotation_3", [](orvella::LaunchOptions& o) { o.rotation = 3; }},
        {"rotation_4", [](orvella::LaunchOptions& o) { o.rotation = 4; }},
        {"deinterlace_7", [](orvella::LaunchOptions& o) { o.deinterleave = 7; }},
        {"deinterlace_8", [](orvella::LaunchOptions& o) { o.deinterleave = 8; }},
        {"deinterlace_9", [](orvella::LaunchOptions& o) { o.deinterleave = 9; }},
        {"deinterlace_10", [](orvella::LaunchOptions& o) { o.deinterleave = 10; }},
        {"deinterlace_11", [](orvella::LaunchOptions& o) { o.deinterleave = 11; }},
        {"single_loop", [](orvella::LaunchOptions& o) { o.playsequence = 3; }},
        {"subtitle_scale", [](orvella::LaunchOptions& o) { o.playing.subtitleScale = 1.4f; }},
        {"subcp_cp1251", [](orvella::LaunchOptions& o) { o.subtitleencode = "CP1251"; }},
        {"decodethread_3", [](orvella::LaunchOptions& o) { o.decodethread = 3; }},
        {"audiomode_1", [](orvella::LaunchOptions& o) { o.audiomode = 1; }},
        {"audiomode_2", [](orvella::LaunchOptions& o) { o.audiomode = 2; }},
        {"channels_6", [](orvella::LaunchOptions& o) {
             o.playerchannels = 2; o.usesoftwarevolume = false; o.showOSD = true;
             o.subtitlefuzziness = 2; }},
        {"no_subtitles_in_shots", [](orvella::LaunchOptions& o) { o.includeSubtitlesInScreenshots = false; }},
        {"everything", [](orvella::LaunchOptions& o) {
             o.mediaPath = "/cam/a.m2ts"; o.videoformat = 4;
             o.cropText = "100:80:0:0"; o.videoWidth = 720; o.videoHeight = 576;
             o.entryStartTime = 12; o.entrySubtitle = "/s/a.srt"; o.rotation = 3;
             o.deinterleave = 8; o.playsequence = 3; o.playerpriority = 5; o.decodethread = 1;
             o.showOSD = true; o.subtitleencode = "SHIFT-JIS"; o.subtitlefuzziness = 1;
             o.audiomode = 2; o.mute = true; o.playerchannels = 1; o.maxamplification = 400; }},
    };
    return cases;
}

}  // namespace orvella_test
