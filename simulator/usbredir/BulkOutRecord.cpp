#include "simulator/usbredir/BulkOutRecord.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace simulator::usbredir {

BulkOutRecord::BulkOutRecord(const std::string& path) : path_(path) {
    if (!path_.empty()) {
        fd_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
    }
}

BulkOutRecord::~BulkOutRecord() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

void BulkOutRecord::Append(std::span<const std::uint8_t> bytes) {
    total_ += bytes.size();
    for (std::size_t done = 0; fd_ >= 0 && done < bytes.size();) {
        const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR) {
            return; // the printer goes on; the scenario finds the record short
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
}

} // namespace simulator::usbredir
