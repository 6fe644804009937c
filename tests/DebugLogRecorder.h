// Collects what the program says on its debug channel (g_debug in the domain
// G_LOG_DOMAIN, "Orvella") while the recorder lives; meanwhile none of it reaches the
// terminal, whatever G_MESSAGES_DEBUG says.
//
//     DebugLogRecorder log;
//     doc.Open(path);
//     EXPECT_NE(log.Text().find(path), std::string::npos);
#pragma once

#include <glib.h>

#include <string>

class DebugLogRecorder {
public:
    DebugLogRecorder() {
        id_ = g_log_set_handler(G_LOG_DOMAIN,
                                static_cast<GLogLevelFlags>(G_LOG_LEVEL_DEBUG | G_LOG_FLAG_FATAL |
                                                            G_LOG_FLAG_RECURSION),
                                &DebugLogRecorder::Record, this);
    }
    ~DebugLogRecorder() { g_log_remove_handler(G_LOG_DOMAIN, id_); }
    DebugLogRecorder(const DebugLogRecorder&) = delete;
    DebugLogRecorder& operator=(const DebugLogRecorder&) = delete;

    // Every message so far, each followed by a line feed.
    const std::string& Text() const { return text_; }
    void Clear() { text_.clear(); }

private:
    static void Record(const gchar*, GLogLevelFlags, const gchar* message, gpointer self) {
        static_cast<DebugLogRecorder*>(self)->text_ += std::string(message ? message : "") + "\n";
    }

    guint id_ = 0;
    std::string text_;
};
