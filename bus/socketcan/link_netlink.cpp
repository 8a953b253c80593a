#include "bus/socketcan/link_netlink.h"

#include <linux/can/netlink.h>
#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>

#include <cerrno>
#include <cstring>

namespace socketcan {

namespace {

constexpr size_t kHeaderSize = sizeof(nlmsghdr);
constexpr size_t kLinkHeaderSize = sizeof(ifinfomsg);
constexpr size_t kAttributeHeaderSize = 4;

constexpr size_t Aligned(size_t size) { return (size + 3) & ~size_t{3}; }

template <typename Value>
void Put(std::vector<uint8_t>& bytes, size_t offset, Value value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

template <typename Value>
Value Get(const uint8_t* data) {
    Value value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

// One message: the netlink header, the link header, then attributes, each
// padded to four bytes. Netlink is in the host's byte order.
class LinkMessage {
public:
    LinkMessage(uint16_t type, uint16_t flags, uint32_t sequence, int index, uint32_t linkFlags, uint32_t linkChange)
        : bytes_(kHeaderSize + kLinkHeaderSize, 0) {
        Put<uint16_t>(bytes_, offsetof(nlmsghdr, nlmsg_type), type);
        Put<uint16_t>(bytes_, offsetof(nlmsghdr, nlmsg_flags), flags);
        Put<uint32_t>(bytes_, offsetof(nlmsghdr, nlmsg_seq), sequence);
        Put<uint8_t>(bytes_, kHeaderSize + offsetof(ifinfomsg, ifi_family), AF_UNSPEC);
        Put<int32_t>(bytes_, kHeaderSize + offsetof(ifinfomsg, ifi_index), index);
        Put<uint32_t>(bytes_, kHeaderSize + offsetof(ifinfomsg, ifi_flags), linkFlags);
        Put<uint32_t>(bytes_, kHeaderSize + offsetof(ifinfomsg, ifi_change), linkChange);
    }

    void Attribute(uint16_t type, const void* data, size_t size) {
        const size_t start = Begin(type);
        const size_t at = bytes_.size();
        bytes_.resize(at + size);
        std::memcpy(bytes_.data() + at, data, size);
        End(start);
    }
    // A nested attribute: Begin, the attributes inside, End.
    size_t Begin(uint16_t type) {
        const size_t start = bytes_.size();
        bytes_.resize(start + kAttributeHeaderSize, 0);
        Put<uint16_t>(bytes_, start + 2, type);
        return start;
    }
    void End(size_t start) {
        Put<uint16_t>(bytes_, start, static_cast<uint16_t>(bytes_.size() - start));
        bytes_.resize(Aligned(bytes_.size()), 0);
    }

    std::vector<uint8_t> Finish() {
        Put<uint32_t>(bytes_, offsetof(nlmsghdr, nlmsg_len), static_cast<uint32_t>(bytes_.size()));
        return std::move(bytes_);
    }

private:
    std::vector<uint8_t> bytes_;
};

// Calls visit(type, data, size) for each attribute in the range; false when
// one does not fit it.
template <typename Visit>
bool EachAttribute(const uint8_t* data, size_t size, Visit visit) {
    size_t offset = 0;
    while (size - offset >= kAttributeHeaderSize) {
        const uint16_t length = Get<uint16_t>(data + offset);
        const uint16_t type = Get<uint16_t>(data + offset + 2) & NLA_TYPE_MASK;
        if (length < kAttributeHeaderSize || length > size - offset) return false;
        visit(type, data + offset + kAttributeHeaderSize, length - kAttributeHeaderSize);
        offset += Aligned(length);
        if (offset >= size) break;
    }
    return true;
}

std::string AttributeText(const uint8_t* data, size_t size) {
    const void* end = std::memchr(data, '\0', size);
    return std::string(reinterpret_cast<const char*>(data),
                       end != nullptr ? static_cast<size_t>(static_cast<const uint8_t*>(end) - data) : size);
}

bool ReadLinkInfo(const uint8_t* data, size_t size, LinkState& link) {
    const uint8_t* kindData = nullptr;
    const uint8_t* driverData = nullptr;
    size_t driverSize = 0;
    bool fits = EachAttribute(data, size, [&](uint16_t type, const uint8_t* value, size_t valueSize) {
        if (type == IFLA_INFO_KIND) {
            link.kind = AttributeText(value, valueSize);
            kindData = value;
        } else if (type == IFLA_INFO_DATA) {
            driverData = value;
            driverSize = valueSize;
        }
    });
    if (!fits) return false;
    // Only a CAN link's driver data holds a bit timing.
    if (kindData == nullptr || link.kind != kCanLinkKind || driverData == nullptr) return true;
    return EachAttribute(driverData, driverSize, [&](uint16_t type, const uint8_t* value, size_t valueSize) {
        if (type == IFLA_CAN_BITTIMING && valueSize >= sizeof(uint32_t))
            link.bitrate = Get<uint32_t>(value + offsetof(can_bittiming, bitrate));
    });
}

// The first message of `sequence` in the answer; false when there is none or
// the answer cannot be read.
bool FindAnswer(const uint8_t* data, size_t size, uint32_t sequence, nlmsghdr& header, const uint8_t*& body) {
    size_t offset = 0;
    while (size - offset >= kHeaderSize) {
        header = Get<nlmsghdr>(data + offset);
        if (header.nlmsg_len < kHeaderSize || header.nlmsg_len > size - offset) return false;
        if (header.nlmsg_seq == sequence) {
            body = data + offset + kHeaderSize;
            return true;
        }
        offset += Aligned(header.nlmsg_len);
        if (offset >= size) break;
    }
    return false;
}

// The errno of an error answer (0 for an acknowledgement); EBADMSG when short.
int ErrorOfAnswer(const nlmsghdr& header, const uint8_t* body) {
    if (header.nlmsg_len - kHeaderSize < sizeof(int32_t)) return EBADMSG;
    return -Get<int32_t>(body);
}

}  // namespace

std::vector<uint8_t> GetLinkRequest(const std::string& name, uint32_t sequence) {
    LinkMessage message(RTM_GETLINK, NLM_F_REQUEST, sequence, 0, 0, 0);
    message.Attribute(IFLA_IFNAME, name.c_str(), name.size() + 1);
    return message.Finish();
}

std::vector<uint8_t> SetLinkRequest(int index, bool up, uint32_t bitrate, uint32_t sequence) {
    LinkMessage message(RTM_NEWLINK, NLM_F_REQUEST | NLM_F_ACK, sequence, index, up ? IFF_UP : 0, IFF_UP);
    if (bitrate != 0) {
        // The kernel works out the bit timing from the rate alone.
        can_bittiming timing{};
        timing.bitrate = bitrate;
        const size_t info = message.Begin(IFLA_LINKINFO);
        message.Attribute(IFLA_INFO_KIND, kCanLinkKind, sizeof kCanLinkKind);
        const size_t driver = message.Begin(IFLA_INFO_DATA);
        message.Attribute(IFLA_CAN_BITTIMING, &timing, sizeof timing);
        message.End(driver);
        message.End(info);
    }
    return message.Finish();
}

LinkState ReadLinkAnswer(const uint8_t* data, size_t size, uint32_t sequence) {
    LinkState link;
    nlmsghdr header{};
    const uint8_t* body = nullptr;
    if (!FindAnswer(data, size, sequence, header, body)) {
        link.error = EBADMSG;
        return link;
    }
    if (header.nlmsg_type == NLMSG_ERROR) {
        link.error = ErrorOfAnswer(header, body);
        // An error answer without an error is no link either.
        if (link.error == 0) link.error = EBADMSG;
        return link;
    }
    const size_t bodySize = header.nlmsg_len - kHeaderSize;
    if (header.nlmsg_type != RTM_NEWLINK || bodySize < kLinkHeaderSize) {
        link.error = EBADMSG;
        return link;
    }
    link.index = Get<int32_t>(body + offsetof(ifinfomsg, ifi_index));
    link.up = (Get<uint32_t>(body + offsetof(ifinfomsg, ifi_flags)) & IFF_UP) != 0;
    bool fits = EachAttribute(
        body + kLinkHeaderSize, bodySize - kLinkHeaderSize, [&](uint16_t type, const uint8_t* value, size_t valueSize) {
            if (type == IFLA_LINKINFO && !ReadLinkInfo(value, valueSize, link)) link.error = EBADMSG;
        });
    if (!fits) link.error = EBADMSG;
    return link;
}

int ReadAcknowledgement(const uint8_t* data, size_t size, uint32_t sequence) {
    nlmsghdr header{};
    const uint8_t* body = nullptr;
    if (!FindAnswer(data, size, sequence, header, body) || header.nlmsg_type != NLMSG_ERROR) return EBADMSG;
    return ErrorOfAnswer(header, body);
}

}  // namespace socketcan
