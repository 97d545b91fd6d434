// The replay file's reader: what the encoder writes reads back record for
// record, and every kind of bad file is refused with its own reason.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/replay/replay_format.h"

namespace rp = platform::replay;

namespace {

// A small file with one record of each kind that carries data.
std::vector<std::uint8_t> sampleFile(std::int32_t startTick = 190) {
    std::vector<std::uint8_t> f;
    std::uint8_t buf[rp::maxRecordSize];
    auto add = [&](std::size_t n) { f.insert(f.end(), buf, buf + n); };
    rp::Header h;
    h.startTick = startTick;
    add(rp::encodeHeader(h, buf));
    add(rp::encodeValue(rp::Kind::Ms, 4294967295LL, buf));
    add(rp::encodeValue(rp::Kind::Calendar, -5, buf));
    add(rp::encodeMessagesStart(rp::Kind::Wait, 2, buf));
    add(rp::encodeMessage({0x0100, 27, -1, true}, buf));
    add(rp::encodeMessage({0x0012, 2, 0, false}, buf));
    add(rp::encodeValue(rp::Kind::KeyboardAcquire, static_cast<std::int32_t>(0x8007001E), buf));
    std::uint8_t keys[256] = {};
    keys[0x2C] = 0x80;
    keys[0xC8] = 0x80;
    add(rp::encodeState(rp::Kind::KeyboardState, 0, keys, 256, buf));
    add(rp::encodeMessagesStart(rp::Kind::Pump, 0, buf));
    const std::uint32_t sum = rp::checksum(f.data(), f.size(), rp::checksumStart);
    add(rp::encodeEnd(6, sum, buf));
    return f;
}

std::string refusal(const std::vector<std::uint8_t>& f) {
    rp::Header h;
    std::uint64_t records = 0;
    std::string error;
    EXPECT_FALSE(rp::validate(f.data(), f.size(), h, records, error));
    return error;
}

}  // namespace

TEST(ReplayFormat, WhatIsWrittenReadsBackRecordForRecord) {
    const auto f = sampleFile();
    rp::Header h;
    std::uint64_t records = 0;
    std::string error;
    ASSERT_TRUE(rp::validate(f.data(), f.size(), h, records, error)) << error;
    EXPECT_EQ(h.startTick, 190);
    EXPECT_EQ(records, 6u);

    std::size_t pos = rp::headerSize;
    rp::Record r;
    auto next = [&] {
        EXPECT_EQ(rp::decodeRecord(f.data(), f.size(), pos, r), rp::Decoded::Ok);
        return r;
    };
    EXPECT_EQ(next().value, 4294967295LL);
    EXPECT_EQ(next().value, -5);
    next();
    ASSERT_EQ(r.kind, rp::Kind::Wait);
    ASSERT_EQ(r.count, 2u);
    const rp::Message escape = rp::messageAt(f.data(), r, 0), quit = rp::messageAt(f.data(), r, 1);
    EXPECT_EQ(escape.message, 0x0100u);
    EXPECT_EQ(escape.wParam, 27u);
    EXPECT_EQ(escape.lParam, -1);
    EXPECT_TRUE(escape.toWindow);
    EXPECT_EQ(quit.wParam, 2u);
    EXPECT_FALSE(quit.toWindow);
    EXPECT_EQ(next().value, static_cast<std::int32_t>(0x8007001E));  // a failed read's code, sign kept
    next();
    ASSERT_EQ(r.kind, rp::Kind::KeyboardState);
    std::uint8_t keys[256];
    std::fill(std::begin(keys), std::end(keys), 0xEE);
    rp::stateInto(f.data(), r, keys, 256);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(keys[i], (i == 0x2C || i == 0xC8) ? 0x80 : 0) << i;
    EXPECT_EQ(next().kind, rp::Kind::Pump);
    EXPECT_EQ(next().kind, rp::Kind::End);
    EXPECT_EQ(pos, f.size());
}

TEST(ReplayFormat, BadFilesAreRefusedWithTheirReason) {
    const auto good = sampleFile();
    EXPECT_NE(refusal({}).find("empty"), std::string::npos);
    EXPECT_NE(refusal({'0', ' ', 'u', 'p', '\n'}).find("not a replay"), std::string::npos);

    // Every cut of a good file is truncated, never accepted or called damaged.
    for (std::size_t n = sizeof rp::magic; n < good.size(); ++n)
        EXPECT_NE(refusal(std::vector<std::uint8_t>(good.begin(), good.begin() + n)).find("truncated"),
                  std::string::npos)
            << n;

    auto changed = [&](std::size_t at, std::uint8_t value) {
        auto f = good;
        f[at] = value;
        return refusal(f);
    };
    EXPECT_NE(changed(8, 1).find("version 1"), std::string::npos);
    EXPECT_NE(changed(rp::headerSize, 0x7F).find("damaged"), std::string::npos);      // unknown kind
    EXPECT_NE(changed(rp::headerSize + 1, 0x00).find("damaged"), std::string::npos);  // checksum
    auto trailing = good;
    trailing.push_back(0);
    EXPECT_NE(refusal(trailing).find("damaged"), std::string::npos);
    // A negative start tick cannot come from a run.
    EXPECT_NE(refusal(sampleFile(-1)).find("damaged"), std::string::npos);
}

TEST(ReplayFormat, RecordsHoldOnlyWellFormedFields) {
    // Each of these is a record no writer makes; the reader refuses it as Bad.
    const std::vector<std::vector<std::uint8_t>> bad = {
        {6, 2},                                 // an instance lock that is neither 0 nor 1
        {3, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2},  // unknown message flags
        {11, 0, 0, 0, 0, 2, 0, 5, 1, 5, 1},     // key bytes not by rising index
        {11, 0, 0, 0, 0, 1, 0, 5, 0},           // a zero key byte written out
        {12, 0, 0, 0, 0, 1, 0, 80, 1},          // past the joystick state's 80 bytes
    };
    for (const auto& record : bad) {
        std::size_t pos = 0;
        rp::Record r;
        EXPECT_EQ(rp::decodeRecord(record.data(), record.size(), pos, r), rp::Decoded::Bad) << int(record[0]);
        EXPECT_EQ(pos, 0u);
    }
}
