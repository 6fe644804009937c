// Drops files on an X11 window the way a file manager does, for the end-to-end tests:
// the XDND conversation (enter, position, drop) as the source, offering text/uri-list
// and answering the target's selection request, then waiting for it to finish.
//
//   xdnd_drop <window id> <x> <y> <path>...     (x, y inside the window)
//
// Exits 0 when the target accepted and finished the drop.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Atoms {
    Atom aware, enter, position, status, drop, finished, selection, actionCopy, uriList;
    explicit Atoms(Display* d)
        : aware(XInternAtom(d, "XdndAware", False)),
          enter(XInternAtom(d, "XdndEnter", False)),
          position(XInternAtom(d, "XdndPosition", False)),
          status(XInternAtom(d, "XdndStatus", False)),
          drop(XInternAtom(d, "XdndDrop", False)),
          finished(XInternAtom(d, "XdndFinished", False)),
          selection(XInternAtom(d, "XdndSelection", False)),
          actionCopy(XInternAtom(d, "XdndActionCopy", False)),
          uriList(XInternAtom(d, "text/uri-list", False)) {}
};

// file:// with every byte outside the unreserved set and "/" percent-encoded.
std::string FileUri(const std::string& path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '_' || c == '.' || c == '~' || c == '/';
        if (plain) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

long AwareVersion(Display* d, Window w, const Atoms& atoms) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    long version = -1;
    if (XGetWindowProperty(d, w, atoms.aware, 0, 1, False, XA_ATOM, &type, &format, &count, &after, &data) ==
            Success &&
        data && count == 1)
        version = static_cast<long>(*reinterpret_cast<Atom*>(data));
    if (data) XFree(data);
    return version;
}

void Send(Display* d, Window target, Atom type, long l0, long l1, long l2, long l3, long l4) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = target;
    e.xclient.message_type = type;
    e.xclient.format = 32;
    e.xclient.data.l[0] = l0;
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    e.xclient.data.l[4] = l4;
    XSendEvent(d, target, False, NoEventMask, &e);
    XFlush(d);
}

void AnswerSelection(Display* d, const XSelectionRequestEvent& request, const std::string& uris) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    reply.xselection.property = request.property ? request.property : request.target;
    XChangeProperty(d, request.requestor, reply.xselection.property, request.target, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(uris.data()), static_cast<int>(uris.size()));
    XSendEvent(d, request.requestor, False, NoEventMask, &reply);
    XFlush(d);
}

// The server's time now: a property change on our own window reports it.
Time ServerTime(Display* d, Window w) {
    Atom stamp = XInternAtom(d, "XDND_DROP_TIME", False);
    XChangeProperty(d, w, stamp, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XEvent e;
    XWindowEvent(d, w, PropertyChangeMask, &e);
    return e.xproperty.time;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: xdnd_drop <window id> <x> <y> <path>...\n");
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "xdnd_drop: no display\n");
        return 2;
    }
    const Atoms atoms(d);
    const Window target = std::strtoul(argv[1], nullptr, 0);
    const long version = AwareVersion(d, target, atoms);
    if (version < 3) {
        std::fprintf(stderr, "xdnd_drop: window 0x%lx does not take drops (XdndAware %ld)\n", target, version);
        return 1;
    }
    std::string uris;
    for (int i = 4; i < argc; ++i) uris += FileUri(argv[i]) + "\r\n";

    Window source = XCreateSimpleWindow(d, DefaultRootWindow(d), -10, -10, 1, 1, 0, 0, 0);
    XSelectInput(d, source, PropertyChangeMask);
    const Time now = ServerTime(d, source);
    XSetSelectionOwner(d, atoms.selection, source, now);
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(d, target, DefaultRootWindow(d), std::atoi(argv[2]), std::atoi(argv[3]), &rootX,
                          &rootY, &child);

    const long v = version < 5 ? version : 5;
    Send(d, target, atoms.enter, static_cast<long>(source), v << 24, static_cast<long>(atoms.uriList), 0, 0);
    Send(d, target, atoms.position, static_cast<long>(source), 0, (rootX << 16) | (rootY & 0xFFFF),
         static_cast<long>(now), static_cast<long>(atoms.actionCopy));

    bool dropped = false, finished = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!finished && std::chrono::steady_clock::now() < deadline) {
        if (!XPending(d)) {
            pollfd p{ConnectionNumber(d), POLLIN, 0};
            poll(&p, 1, 100);
            continue;
        }
        XEvent e;
        XNextEvent(d, &e);
        if (e.type == SelectionRequest) {
            AnswerSelection(d, e.xselectionrequest, uris);
        } else if (e.type == ClientMessage && e.xclient.message_type == atoms.status && !dropped) {
            if (!(e.xclient.data.l[1] & 1)) {
                std::fprintf(stderr, "xdnd_drop: the window refuses the drop\n");
                Send(d, target, XInternAtom(d, "XdndLeave", False), static_cast<long>(source), 0, 0, 0, 0);
                return 1;
            }
            Send(d, target, atoms.drop, static_cast<long>(source), 0, static_cast<long>(now), 0, 0);
            dropped = true;
        } else if (e.type == ClientMessage && e.xclient.message_type == atoms.finished) {
            finished = true;
        }
    }
    XCloseDisplay(d);
    if (!finished) std::fprintf(stderr, "xdnd_drop: no answer from window 0x%lx\n", target);
    return finished ? 0 : 1;
}
