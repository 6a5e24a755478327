// MD5 and Base64 against OpenSSL, on the same inputs, in the same run.
#include "base64.h"
#include "clsmd5.h"

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <vector>

namespace {

QByteArray input(qsizetype n)
{
    QByteArray b(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        b[i] = char(i * 131 + 7);
    return b;
}

// A typical request body is about 1.5 KB.
constexpr qsizetype requestSize = 1536;
constexpr qsizetype megabyte = 1 << 20;

void ours_MD5(benchmark::State &state)
{
    const QByteArray data = input(state.range(0));
    const ClsMD5 md5;
    for (auto _ : state)
        benchmark::DoNotOptimize(md5.MD5_bytes(data, qint32(data.size())));
    state.SetBytesProcessed(state.iterations() * data.size());
}

void openssl_MD5(benchmark::State &state)
{
    const QByteArray data = input(state.range(0));
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    for (auto _ : state) {
        EVP_Digest(data.constData(), std::size_t(data.size()), out, &length, EVP_md5(), nullptr);
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(state.iterations() * data.size());
}

void ours_Base64(benchmark::State &state)
{
    const QByteArray data = input(state.range(0));
    const Base64 base64;
    for (auto _ : state)
        benchmark::DoNotOptimize(base64.EncodeArray64(data));
    state.SetBytesProcessed(state.iterations() * data.size());
}

void openssl_Base64(benchmark::State &state)
{
    const QByteArray data = input(state.range(0));
    for (auto _ : state) {
        // Allocated per call, as ours returns a new text each time.
        std::vector<unsigned char> out(std::size_t(data.size() + 2) / 3 * 4 + 1);
        EVP_EncodeBlock(out.data(), reinterpret_cast<const unsigned char *>(data.constData()),
                        int(data.size()));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * data.size());
}

} // namespace

BENCHMARK(ours_MD5)->Arg(megabyte)->Arg(requestSize);
BENCHMARK(openssl_MD5)->Arg(megabyte)->Arg(requestSize);
BENCHMARK(ours_Base64)->Arg(16)->Arg(megabyte);
BENCHMARK(openssl_Base64)->Arg(16)->Arg(megabyte);

BENCHMARK_MAIN();
