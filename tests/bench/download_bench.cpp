// Downloads and unpacks a 50 MB firmware package from a loopback server and prints the
// peak resident memory before and after, to show that packages stream to disk.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>

#include "online/package_download.h"
#include "support/loopback_http_server.h"
#include "support/temp_dir.h"

namespace {

long peakResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main() {
  namespace fs = std::filesystem;
  constexpr std::size_t kPackageBytes = 50u * 1024 * 1024;
  kad::test::TempDir work;
  kad::test::TempDir programDir;

  // Random content, so the zip is as big as the package it holds; written in blocks.
  const fs::path staging = work.path() / "payload.bin";
  {
    std::ofstream out(staging, std::ios::binary);
    std::mt19937_64 random(42);
    std::vector<std::uint64_t> block(8192);
    for (std::size_t written = 0; written < kPackageBytes; written += block.size() * sizeof(std::uint64_t)) {
      for (auto& word : block) word = random();
      out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size() * 8));
    }
  }
  const fs::path archive = work.path() / "qeti6ia.zip";
  const std::string command = "cd '" + work.path().string() + "' && zip -q -0 qeti6ia.zip payload.bin";
  if (std::system(command.c_str()) != 0) return 1;
  fs::remove(staging);

  kad::test::LoopbackHttpServer server;
  server.serveFile("/qe01/Software/RQV638TIM/qeti6ia.zip", archive);
  kad::platform::HttpClient http("KAD");

  const long before = peakResidentKiB();
  const auto start = std::chrono::steady_clock::now();
  const auto outcome = kad::online::fetchPackage(http, server.baseUrl(), programDir.path(), kad::EquipmentModel::TIM, "ia");
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const long after = peakResidentKiB();

  const fs::path unpacked = programDir.path() / "RQV638TIM/HARD_IA/payload.bin";
  const bool ok = outcome == kad::online::PackageOutcome::Done && fs::file_size(unpacked) == kPackageBytes;
  std::printf("package: %zu bytes (zip %ju bytes), download and unpack %s in %.2f s\n", kPackageBytes,
              static_cast<std::uintmax_t>(fs::file_size(archive)), ok ? "ok" : "FAILED", seconds);
  std::printf("peak resident memory: %ld KiB before, %ld KiB after (growth %ld KiB)\n", before, after, after - before);
  return ok ? 0 : 1;
}
