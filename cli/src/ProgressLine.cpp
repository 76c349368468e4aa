#include "ProgressLine.h"

#include "core/FileSystem.h"

#include <unistd.h>

#include <cstdio>
#include <numeric>

namespace cli {

namespace {

// A few redraws a second are enough for a person and cheap for the run.
constexpr auto redrawInterval = std::chrono::milliseconds(250);

std::string sizeText(double bytes)
{
    const char* const units[] = {"B", "KiB", "MiB", "GiB", "TiB"};
    std::size_t unit = 0;
    while (bytes >= 1024 && unit + 1 < std::size(units)) {
        bytes /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", bytes, units[unit]);
    return text;
}

std::string durationText(double seconds)
{
    const long long whole = static_cast<long long>(seconds + 0.5);
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    else std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

void writeError(const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t done = write(STDERR_FILENO, text.data() + written, text.size() - written);
        if (done <= 0) return;
        written += static_cast<std::size_t>(done);
    }
}

}  // namespace

ProgressLine::ProgressLine(const Selection& selection, std::vector<std::uint64_t> sizes, int workers, bool shown)
    : selection_(selection),
      sizes_(std::move(sizes)),
      percents_(sizes_.size(), -1),
      total_(std::accumulate(sizes_.begin(), sizes_.end(), std::uint64_t{0})),
      workers_(workers),
      shown_(shown),
      start_(std::chrono::steady_clock::now()),
      lastDrawn_(start_ - redrawInterval)
{}

void ProgressLine::fileStarted(int index)
{
    // The worker's file before this one is done.
    if (index >= workers_) percents_[static_cast<std::size_t>(index - workers_)] = 100;
    percents_[static_cast<std::size_t>(index)] = 0;
    current_ = index;
}

void ProgressLine::fileProgress(int index, int percent)
{
    int& shown = percents_[static_cast<std::size_t>(index)];
    // A worker's bar falls back to 0 between files: a file never loses its
    // share once it has it.
    if (percent > shown) shown = percent;
}

void ProgressLine::noRecoveryList()
{
    if (recoveryListWarned_) return;
    recoveryListWarned_ = true;
    if (drawn_) writeError("\r\033[K");
    writeError("tarvex: warning: no recovery list can be written in the current folder " +
               core::shownPath(core::currentDirectory()) +
               ": should the run be cut short, nothing would tell which files it left half done\n");
    drawn_ = false;
}

void ProgressLine::tick()
{
    const auto now = std::chrono::steady_clock::now();
    if (now - lastDrawn_ < redrawInterval) return;
    lastDrawn_ = now;
    draw();
}

void ProgressLine::finish()
{
    for (int& percent : percents_) percent = 100;
    draw();
    if (drawn_) writeError("\n");
}

std::uint64_t ProgressLine::bytesDone() const
{
    std::uint64_t done = 0;
    for (std::size_t i = 0; i < sizes_.size(); ++i) {
        if (percents_[i] > 0)
            done += sizes_[i] / 100 * static_cast<std::uint64_t>(percents_[i]) +
                    sizes_[i] % 100 * static_cast<std::uint64_t>(percents_[i]) / 100;
    }
    return done;
}

void ProgressLine::draw()
{
    if (!shown_ || sizes_.empty()) return;
    const std::uint64_t done = bytesDone();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const int percent =
        total_ == 0 ? 100 : static_cast<int>(static_cast<double>(done) * 100 / static_cast<double>(total_));
    std::string line = "\r";
    if (current_ >= 0) line += core::shownPath(selection_.sources.getAt(current_)) + "  ";
    line += std::to_string(percent) + "%";
    if (seconds > 0.5 && done > 0) {
        const double speed = static_cast<double>(done) / seconds;
        line += "  " + sizeText(speed) + "/s";
        if (done < total_) line += "  " + durationText(static_cast<double>(total_ - done) / speed) + " left";
    }
    writeError(line + "\033[K");
    drawn_ = true;
}

}  // namespace cli
