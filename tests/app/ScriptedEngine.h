// A stand-in for the engine that tests can steer: a small script installed as
// "<folder>/gnu/mplayer" that records its arguments and every command it receives,
// prints given lines at its start, answers the position and length queries from files
// the test writes, and ends ("ID_EXIT=EOF") when the test asks it to.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace orvella_test {

class ScriptedEngine {
public:
    // folder: an empty folder of the test; the program folder is folder + "/prog/".
    explicit ScriptedEngine(const std::string& folder) : m_dir(folder + "/engine") {
        ::mkdir(m_dir.c_str(), 0755);
        ::mkdir((folder + "/prog").c_str(), 0755);
        ::mkdir((folder + "/prog/gnu").c_str(), 0755);
        m_program = folder + "/prog/";
        const std::string script = m_program + "gnu/mplayer";
        std::ofstream out(script);
        out << "#!/bin/bash\n"
               "dir='" << m_dir << "'\n"
               "n=$(cat \"$dir/launches\" 2>/dev/null || echo 0); n=$((n+1))\n"
               // The arguments first: a test that sees the count reads them next.
               "printf '%s\\n' \"$@\" > \"$dir/argv.$n\"\n"
               "echo $n > \"$dir/launches.new\" && mv \"$dir/launches.new\" \"$dir/launches\"\n"
               "cat \"$dir/start.txt\" 2>/dev/null\n"
               "pos=0; prev=''; partial=''\n"
               "for a in \"$@\"; do [ \"$prev\" = -ss ] && pos=$a; prev=$a; done\n"
               "while true; do\n"
               "  if [ -e \"$dir/end\" ]; then rm -f \"$dir/end\"; echo ID_EXIT=EOF; exit 0; fi\n"
               // A read that times out keeps what it had of a line: the rest comes next.
               "  IFS= read -r -t 0.02 chunk; rc=$?\n"
               "  if [ $rc -gt 128 ]; then partial=\"$partial$chunk\"; continue; fi\n"
               "  if [ $rc -eq 0 ]; then\n"
               "    line=\"$partial$chunk\"; partial=''\n"
               "    printf '%s\\n' \"$line\" >> \"$dir/commands\"\n"
               "    case \"$line\" in\n"
               "      *get_time_pos*) [ -e \"$dir/pos\" ] && pos=$(cat \"$dir/pos\"); echo \"ANS_TIME_POSITION=$pos\";;\n"
               "      *get_time_length*) echo \"ANS_LENGTH=$(cat \"$dir/length\" 2>/dev/null || echo 2)\";;\n"
               "    esac\n"
               "  else exit 0\n"
               "  fi\n"
               "done\n";
        out.close();
        ::chmod(script.c_str(), 0755);
        // A video of 320x240 unless a test says otherwise.
        SetStartLines({"ID_VIDEO_WIDTH=320", "ID_VIDEO_HEIGHT=240", "ID_LENGTH=2.00",
                       "VO: [x11] 320x240 => 320x240 Planar YV12"});
    }

    const std::string& ProgramFolder() const { return m_program; }

    void SetStartLines(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) text += line + "\n";
        Write("start.txt", text);
    }
    void SetPosition(double seconds) { Write("pos", Number(seconds)); }
    void SetLength(double seconds) { Write("length", Number(seconds)); }
    // The running engine prints its exit line and ends.
    void End() { Write("end", ""); }

    int Launches() const { return std::atoi(Read("launches").c_str()); }
    // The arguments of launch n (from 1), without the program name.
    std::vector<std::string> Arguments(int n) const { return Lines(Read("argv." + std::to_string(n))); }
    std::vector<std::string> Commands() const { return Lines(Read("commands")); }
    void ForgetCommands() { ::unlink((m_dir + "/commands").c_str()); }

    // The value after option in launch n ("" when the option is not there).
    std::string Option(int n, const std::string& option) const {
        std::vector<std::string> args = Arguments(n);
        for (size_t i = 0; i + 1 < args.size(); ++i)
            if (args[i] == option) return args[i + 1];
        return std::string();
    }

private:
    static std::string Number(double v) {
        std::ostringstream s;
        s << v;
        return s.str();
    }
    void Write(const std::string& name, const std::string& text) const {
        const std::string path = m_dir + "/" + name;
        const std::string temp = path + ".new";
        std::ofstream(temp) << text;
        std::rename(temp.c_str(), path.c_str());  // the script never reads half a file
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(m_dir + "/" + name);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    std::string m_dir;
    std::string m_program;
};

}  // namespace orvella_test
