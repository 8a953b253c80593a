// One SDO client transfer as a state machine apart from the adapter, the
// worker and the clock: it gives the next request frame and takes the reply
// frames, for expedited and segmented uploads and downloads, and ends with a
// result, the data of an upload and the code of an abort.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Abort codes the client sends when it gives a transfer up.
inline constexpr uint32_t kSdoAbortToggle = 0x05030000;
inline constexpr uint32_t kSdoAbortTimedOut = 0x05040000;
inline constexpr uint32_t kSdoAbortCommand = 0x05040001;
inline constexpr uint32_t kSdoAbortOutOfMemory = 0x05040005;
inline constexpr uint32_t kSdoAbortGeneral = 0x08000000;

using SdoFrame = std::array<uint8_t, 8>;

// What a reply did to the transfer.
enum class SdoStep {
    kIgnored,   // a reply to another request; the transfer still waits
    kNext,      // taken; Request() is the next request to send
    kFinished,  // the transfer ended; see Result()
};

// What an upload does with data longer than the room it was given.
enum class SdoOverflow {
    kRefuse,  // stop at once; a segmented transfer is not followed
    kDrain,   // take the segments to the end, keep what fits, then fail
};

class SdoTransfer {
public:
    // Results; the worker adds the time-out (2).
    static constexpr int kOk = 1;
    static constexpr int kAborted = 3;
    static constexpr int kProtocolError = 6;
    static constexpr int kTooLong = 7;
    static constexpr int kPending = 0;

    // The most bytes one transfer carries; longer uploads are cut off here.
    static constexpr size_t kLargestTransfer = 100;

    // Reads object (index, subindex) into at most `capacity` bytes.
    static SdoTransfer Upload(uint16_t index, uint8_t subindex, size_t capacity,
                              SdoOverflow overflow = SdoOverflow::kRefuse);
    // Writes `length` bytes (1 or more) to object (index, subindex).
    static SdoTransfer Download(uint16_t index, uint8_t subindex, const uint8_t* data, size_t length);

    // The request to send now; valid while the transfer is not finished.
    const SdoFrame& Request() const { return request_; }
    // Takes a reply to the last request.
    SdoStep TakeReply(const SdoFrame& reply);

    bool Finished() const { return result_ != kPending; }
    int Result() const { return result_; }
    // The data of a finished upload (at most the capacity given).
    const std::vector<uint8_t>& Data() const { return data_; }
    uint32_t AbortCode() const { return abortCode_; }

    // The code of the abort this side owes the server: a finished transfer
    // that the client ended while the server was still in it (data too long
    // for the room given, a reply out of step). 0 when the server ended it
    // itself or was never in it.
    uint32_t ClientAbortCode() const { return clientAbort_; }
    // Whether the server has answered this transfer yet: a transfer given up
    // before any answer may still have reached it.
    bool ServerAnswered() const { return answered_; }
    // The abort request for this transfer's object with `code`.
    SdoFrame AbortRequest(uint32_t code) const;

private:
    enum class Phase { kInitiateUpload, kUploadSegments, kInitiateDownload, kDownloadSegments };

    SdoTransfer(uint16_t index, uint8_t subindex, Phase phase);
    bool NamesObject(const SdoFrame& reply) const;
    SdoStep Finish(int result);
    // Ends the transfer with the server left in it, owed an abort of `code`.
    SdoStep GiveUp(int result, uint32_t code);
    SdoStep TakeInitiateUpload(const SdoFrame& reply);
    SdoStep TakeUploadSegment(const SdoFrame& reply);
    SdoStep TakeDownloadReply(const SdoFrame& reply);
    // Keeps upload bytes up to the capacity and counts every byte.
    void Keep(const uint8_t* bytes, size_t count);
    void AskNextUploadSegment();
    void PrepareDownloadSegment();

    uint16_t index_;
    uint8_t subindex_;
    Phase phase_;
    SdoFrame request_{};
    int result_ = kPending;
    uint32_t abortCode_ = 0;
    uint32_t clientAbort_ = 0;
    bool answered_ = false;
    uint8_t toggle_ = 0;

    // Upload.
    size_t capacity_ = 0;
    SdoOverflow overflow_ = SdoOverflow::kRefuse;
    bool sizeGiven_ = false;
    size_t announced_ = 0;
    size_t received_ = 0;
    size_t segments_ = 0;
    std::vector<uint8_t> data_;

    // Download.
    std::vector<uint8_t> source_;
    size_t segment_ = 0;  // from 1
    size_t segmentCount_ = 0;
};
