#pragma once
// Where the generator lengthened or shortened a feed against the drawn
// path (start and end compensation, cutter-radius corners): rows of (feed
// position, cumulative correction). A length added to a feed decreases the
// cumulative correction, a length taken off increases it. The machine keeps
// 1,001 rows; a job that needs more is refused.

#include <vector>

namespace korvel::program {

inline constexpr int kCorrectionLogSize = 1001;

struct FeedCorrection {
    double position = 0;   // feed position (mm) when the correction was made
    double cumulative = 0; // total correction so far (mm)
    bool operator==(const FeedCorrection&) const = default;
};

class FeedCorrectionLog {
public:
    // Records that `added` mm were added to the feed starting at `position`
    // (negative: taken off).
    void record(double position, double added) {
        m_cumulative -= added;
        if (static_cast<int>(m_rows.size()) >= kCorrectionLogSize) {
            ++m_overflow;
            return;
        }
        m_rows.push_back({position, m_cumulative});
    }
    const std::vector<FeedCorrection>& rows() const { return m_rows; }
    double cumulative() const { return m_cumulative; }
    int overflow() const { return m_overflow; }

private:
    std::vector<FeedCorrection> m_rows;
    double m_cumulative = 0;
    int m_overflow = 0;
};

} // namespace korvel::program
