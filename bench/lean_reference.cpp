// The lean reference the cold benchmark holds the job against: the same pass lines from
// the same inputs with nothing but what the job cannot do without. Inputs are mapped,
// numbers parsed straight into compact arrays with fast_float, each output formatted into
// one reused 64 KiB buffer written as it fills, then fsync, rename and a folder fsync. It
// checks nothing a well-formed input does not need. Usage: lean_reference FOLDER
#include <fast_float/fast_float.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct Line {
  float header_a = 0, header_b = 0;
  int count = 0;
  std::vector<std::array<float, 5>> rows;
};

bool IsSeparator(char c) { return c == ',' || c == '\n' || c == '\r' || c == ' ' || c == '\t'; }

Line Read(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  struct stat status {};
  ::fstat(fd, &status);
  const auto size = static_cast<std::size_t>(status.st_size);
  const char* data =
      static_cast<const char*>(::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0));
  const char* at = data;
  const char* end = data + size;
  const auto next = [&] {
    while (at < end && IsSeparator(*at)) ++at;
    float value = 0;
    at = fast_float::from_chars(at, end, value).ptr;
    return value;
  };
  Line line;
  line.header_a = next();
  line.header_b = next();
  line.count = static_cast<int>(next());
  line.rows.resize(static_cast<std::size_t>(line.count));
  for (auto& row : line.rows) {
    for (float& value : row) value = next();
  }
  ::munmap(const_cast<char*>(data), size);
  ::close(fd);
  return line;
}

float Moved(float race, float companion, float limit) {
  const auto midpoint = static_cast<float>((double{companion} + race) / 2.0);
  if (!(static_cast<float>(std::fabs(double{midpoint} - race)) > limit)) return midpoint;
  return static_cast<float>(midpoint > race ? double{race} + limit : double{race} - limit);
}

class Writer {
 public:
  explicit Writer(int fd) : fd_(fd) {}
  void Value(float value) {
    if (used_ + 16 > buffer_.size()) Flush();
    used_ = static_cast<std::size_t>(
        std::to_chars(buffer_.data() + used_, buffer_.data() + buffer_.size(), value).ptr -
        buffer_.data());
  }
  void Text(const char* text) {
    while (*text) {
      if (used_ == buffer_.size()) Flush();
      buffer_[used_++] = *text++;
    }
  }
  void Flush() {
    [[maybe_unused]] const ssize_t written = ::write(fd_, buffer_.data(), used_);
    used_ = 0;
  }

 private:
  int fd_;
  std::array<char, 1 << 16> buffer_{};
  std::size_t used_ = 0;
};

void Write(const std::string& folder, const char* name, const Line& race, const Line& companion) {
  const std::string path = folder + "/" + name, temporary = folder + "/." + name + ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  Writer out(fd);
  out.Value(race.header_a);
  out.Text("\r\n");
  out.Value(race.header_b);
  out.Text("\r\n");
  out.Value(static_cast<float>(race.count));
  out.Text("\r\n");
  for (std::size_t i = 0; i < race.rows.size(); ++i) {
    const auto& row = race.rows[i];
    for (std::size_t column = 0; column < 5; ++column) {
      if (column > 0) out.Text(",");
      out.Value(column == 2 ? Moved(row[2], companion.rows[i][2], 4) : row[column]);
    }
    out.Text("\r\n");
  }
  out.Flush();
  ::fsync(fd);
  ::close(fd);
  ::rename(temporary.c_str(), path.c_str());
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) return 2;
  const std::string folder = argv[1];
  const Line race = Read(folder + "/Race.txt");
  const Line max = Read(folder + "/MaxRace.txt");
  const Line min = Read(folder + "/MinRace.txt");
  Write(folder, "Pass1.txt", race, max);
  Write(folder, "Pass2.txt", race, min);
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  ::fsync(dir);
  ::close(dir);
  return 0;
}
