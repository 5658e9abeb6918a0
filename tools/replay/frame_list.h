#pragma once
// Frame lists: "all", or comma-separated frames and ranges, a range with an optional step
// ("0-99,500,1000-40000/50").

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

class FrameList {
  public:
    // Parses `text`; on failure returns false and says why in `error`.
    bool parse(const std::string& text, std::string& error);
    bool contains(uint64_t frame) const;
    bool all() const { return all_; }

  private:
    struct Range {
        uint64_t first, last, step;
    };
    bool all_ = true;
    std::vector<Range> ranges_;
};

}  // namespace replay
