// The reference lookup list: the lines of the reference file beside the host
// ("callsign=reference"), and the lookup that pre-fills a station's exchange.
//
// The lines are kept as they are in the file. An index from each line's key
// to its reference, built once at load, answers a lookup in constant time on
// files of 100,000 stations; it gives exactly what a scan of the lines would,
// the last matching line winning.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orva {

// Splits a text into lines: CR, LF and CR LF each end a line, LF CR counts as
// two breaks, a last line without a break is kept, a zero byte ends the text.
std::vector<std::string> SplitLines(std::string_view text);

// "Plugins" + separator + "ORVA.txt" in the directory of the host executable.
std::string ReferenceFilePath(std::string_view executablePath);

class TReferenceList {
 public:
  TReferenceList() = default;
  TReferenceList(const TReferenceList&) = delete;
  TReferenceList& operator=(const TReferenceList&) = delete;

  void Assign(std::string_view fileText);
  // One space followed by the reference of the last line whose key is
  // `callSign`, or the empty text.
  std::string LookUp(std::string_view callSign) const;

  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
  // Views into lines_, which never changes after Assign.
  std::unordered_map<std::string_view, std::string_view> referenceByKey_;
};

}  // namespace orva
