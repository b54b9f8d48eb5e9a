#pragma once

#include <functional>
#include <memory>
#include <string>

namespace simulator {

// Calls `changed`, on a thread of its own, whenever the file at `path` is written and closed or
// replaced by a rename (as editors and atomic writes do). Watching ends with the object: once the
// destructor has returned, `changed` is not running. nullptr when the file's folder cannot be watched.
class FileWatch {
    struct Private;
    struct Passkey {};

  public:
    static std::unique_ptr<FileWatch> Start(const std::string& path, std::function<void()> changed);
    FileWatch(Passkey, std::unique_ptr<Private> d); // for Start only
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

  private:
    std::unique_ptr<Private> d_;
};

} // namespace simulator
