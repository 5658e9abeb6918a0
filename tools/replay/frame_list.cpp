#include "tools/replay/frame_list.h"

#include <cerrno>
#include <cstdlib>

namespace replay {
namespace {

bool parseNumber(const std::string& s, uint64_t& out) {
    if (s.empty() || s.size() > 18) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    out = std::strtoull(s.c_str(), nullptr, 10);
    return true;
}

}  // namespace

bool FrameList::parse(const std::string& text, std::string& error) {
    ranges_.clear();
    all_ = false;
    if (text == "all") {
        all_ = true;
        return true;
    }
    if (text.empty()) {
        error = "empty frame list";
        return false;
    }
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = text.find(',', start);
        const std::string item =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        Range range{0, 0, 1};
        std::string span = item;
        const size_t slash = item.find('/');
        if (slash != std::string::npos) {
            span = item.substr(0, slash);
            if (!parseNumber(item.substr(slash + 1), range.step) || range.step == 0) {
                error = "bad step in frame list item '" + item + "'";
                return false;
            }
        }
        const size_t dash = span.find('-');
        bool ok;
        if (dash == std::string::npos) {
            ok = parseNumber(span, range.first) && slash == std::string::npos;
            range.last = range.first;
        } else {
            ok = parseNumber(span.substr(0, dash), range.first) &&
                 parseNumber(span.substr(dash + 1), range.last) && range.first <= range.last;
        }
        if (!ok) {
            error = "bad frame list item '" + item + "'";
            return false;
        }
        ranges_.push_back(range);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

bool FrameList::contains(uint64_t frame) const {
    if (all_) return true;
    for (const Range& r : ranges_)
        if (frame >= r.first && frame <= r.last && (frame - r.first) % r.step == 0) return true;
    return false;
}

}  // namespace replay
