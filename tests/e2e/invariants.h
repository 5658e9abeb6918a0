#pragma once
// Checks a trace frame by frame against what each object kind can ever be, and the kill count
// against the dying sequences that completed.

#include <string>
#include <vector>

#include "trace_reader.h"

class InvariantChecker {
  public:
    void check(const TraceFrame& frame);

    const std::vector<std::string>& failures() const { return failures_; }
    // Dying sequences seen to complete (a dying piranha at counter 5 updated once more).
    int completedDyings() const { return completed_; }
    int framesChecked() const { return frames_; }

  private:
    void fail(const TraceFrame& f, const std::string& what);
    void checkObject(const TraceFrame& f, const TraceObject& o);
    void checkContinuity(const TraceFrame& f);

    std::vector<std::string> failures_;
    TraceFrame previous_;
    bool havePrevious_ = false;
    int completed_ = 0;
    int frames_ = 0;
};
