#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace simulator::usbredir {

// Every byte the host wrote to the bulk OUT pipe, appended to a file as it arrives, so a test can
// prove that a print job reached the printer whole. Counts the bytes whether or not a file is kept.
class BulkOutRecord {
  public:
    explicit BulkOutRecord(const std::string& path); // empty: count only
    ~BulkOutRecord();
    BulkOutRecord(const BulkOutRecord&) = delete;
    BulkOutRecord& operator=(const BulkOutRecord&) = delete;

    bool Usable() const { return path_.empty() || fd_ >= 0; }
    void Append(std::span<const std::uint8_t> bytes);
    std::uint64_t Total() const { return total_; }

  private:
    std::string path_;
    int fd_ = -1;
    std::uint64_t total_ = 0;
};

} // namespace simulator::usbredir
