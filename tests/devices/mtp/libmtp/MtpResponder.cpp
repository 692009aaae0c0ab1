#include "devices/mtp/libmtp/MtpResponder.h"

#include <QtEndian>

namespace {

// PTP codes this responder speaks.
enum : uint16_t
{
    kGetDeviceInfo = 0x1001,
    kOpenSession = 0x1002,
    kCloseSession = 0x1003,
    kGetStorageIds = 0x1004,
    kGetStorageInfo = 0x1005,
    kGetObjectHandles = 0x1007,
    kGetObjectInfo = 0x1008,
    kGetObject = 0x1009,
    kDeleteObject = 0x100B,
    kSendObjectInfo = 0x100C,
    kSendObject = 0x100D,
    kGetDevicePropDesc = 0x1014,
    kGetDevicePropValue = 0x1015,
    kGetObjectPropsSupported = 0x9801,
    kGetObjectPropDesc = 0x9802,
    kSetObjectPropValue = 0x9804,
    kGetObjectPropList = 0x9805,
    kGetObjectReferences = 0x9810,
    kSetObjectReferences = 0x9811,

    kOk = 0x2001,
    kGeneralError = 0x2002,
    kSessionNotOpen = 0x2003,
    kOperationNotSupported = 0x2005,
    kParameterNotSupported = 0x2006,
    kDeviceBusy = 0x2019,
    kSpecificationByDepthUnsupported = 0xA808,
    kInvalidObjectHandle = 0x2009,
    kStoreFull = 0x200C,
    kInvalidStorageId = 0x2008,
    kDevicePropNotSupported = 0x200A,
    kInvalidParentObject = 0x201A,
    kSessionAlreadyOpen = 0x201E,
    kObjectPropNotSupported = 0xA80A,

    kFormatUndefined = PhoneStore::kFormatUndefined,
    kFormatAssociation = PhoneStore::kFormatAssociation,
    kFriendlyName = 0xD402,
    kStorageIdProperty = 0xDC01,
    kObjectFormatProperty = 0xDC02,
    kProtectionStatus = 0xDC03,
    kObjectSize = 0xDC04,
    kObjectFileName = 0xDC07,
    kDateModified = 0xDC09,
    kParentObject = 0xDC0B,
    kPersistentUid = 0xDC41,
    kNameProperty = 0xDC44,

    kTypeUint16 = 0x0004,
    kTypeUint32 = 0x0006,
    kTypeUint64 = 0x0008,
    kTypeUint128 = 0x000A,
    kTypeString = 0xFFFF,
};
// The properties an Android phone gives every object.
const QList<uint16_t> kObjectProperties = {kStorageIdProperty, kObjectFormatProperty, kProtectionStatus,
                                           kObjectSize,        kObjectFileName,       kDateModified,
                                           kParentObject,      kPersistentUid,        kNameProperty};
constexpr uint32_t kRoot = 0xFFFFFFFFu;

// Little-endian PTP datasets.
class Writer
{
public:
    Writer& u8(uint8_t aValue)
    {
        mBytes.append(static_cast<char>(aValue));
        return *this;
    }
    Writer& u16(uint16_t aValue)
    {
        char bytes[2];
        qToLittleEndian(aValue, bytes);
        mBytes.append(bytes, 2);
        return *this;
    }
    Writer& u32(uint32_t aValue)
    {
        char bytes[4];
        qToLittleEndian(aValue, bytes);
        mBytes.append(bytes, 4);
        return *this;
    }
    Writer& u64(uint64_t aValue)
    {
        char bytes[8];
        qToLittleEndian(aValue, bytes);
        mBytes.append(bytes, 8);
        return *this;
    }
    // A PTP string: the count of UTF-16 units with the terminating zero, then the units.
    Writer& str(const QString& aText)
    {
        if (aText.isEmpty())
            return u8(0);
        u8(static_cast<uint8_t>(aText.size() + 1));
        for (QChar unit : aText)
            u16(unit.unicode());
        return u16(0);
    }
    Writer& u16s(const QList<uint16_t>& aValues)
    {
        u32(static_cast<uint32_t>(aValues.size()));
        for (uint16_t value : aValues)
            u16(value);
        return *this;
    }
    Writer& u32s(const QList<uint32_t>& aValues)
    {
        u32(static_cast<uint32_t>(aValues.size()));
        for (uint32_t value : aValues)
            u32(value);
        return *this;
    }
    const QByteArray& bytes() const { return mBytes; }

private:
    QByteArray mBytes;
};

class Reader
{
public:
    explicit Reader(const QByteArray& aBytes) : mBytes(aBytes) {}
    bool ok() const { return mOk; }
    uint16_t u16() { return take(2) ? qFromLittleEndian<uint16_t>(mBytes.constData() + mAt - 2) : 0; }
    uint32_t u32() { return take(4) ? qFromLittleEndian<uint32_t>(mBytes.constData() + mAt - 4) : 0; }
    void skip(int aBytes) { take(aBytes); }
    QString str()
    {
        if (!take(1))
            return QString();
        const int units = static_cast<uint8_t>(mBytes.at(mAt - 1));
        QString text;
        for (int i = 0; i < units; ++i) {
            const uint16_t unit = u16();
            if (unit != 0)
                text.append(QChar(unit));
        }
        return text;
    }

private:
    bool take(int aBytes)
    {
        if (mAt + aBytes > mBytes.size()) {
            mOk = false;
            return false;
        }
        mAt += aBytes;
        return true;
    }
    const QByteArray& mBytes;
    int mAt = 0;
    bool mOk = true;
};

QByteArray container(uint16_t aType, uint16_t aCode, uint32_t aTransaction, const QByteArray& aPayload)
{
    Writer header;
    header.u32(static_cast<uint32_t>(12 + aPayload.size())).u16(aType).u16(aCode).u32(aTransaction);
    return header.bytes() + aPayload;
}

QByteArray response(uint16_t aCode, uint32_t aTransaction, const QList<uint32_t>& aParams = {})
{
    Writer params;
    for (uint32_t param : aParams)
        params.u32(param);
    return container(3, aCode, aTransaction, params.bytes());
}

} // namespace

MtpResponder::MtpResponder() = default;

bool MtpResponder::takesData(uint16_t aCode)
{
    return aCode == kSendObjectInfo || aCode == kSendObject || aCode == kSetObjectReferences ||
           aCode == kSetObjectPropValue;
}

void MtpResponder::abandon(const QByteArray& aPartial)
{
    if (mAwaitingData && mPendingCode == kSendObject && mStore.objects.contains(mSendTarget))
        mStore.objects[mSendTarget].data = aPartial.mid(12);
    mAwaitingData = false;
}

QList<QByteArray> MtpResponder::receive(const QByteArray& aContainer)
{
    Reader header(aContainer);
    header.u32(); // length
    const uint16_t type = header.u16();
    const uint16_t code = header.u16();
    const uint32_t transaction = header.u32();
    if (!header.ok())
        return {};
    if (type == 2) { // data for the command that waits for it
        if (!mAwaitingData || code != mPendingCode)
            return {response(kGeneralError, transaction)};
        mAwaitingData = false;
        const QByteArray payload = aContainer.mid(12);
        return run(mPendingCode, mPendingTransaction, mPendingParams, &payload);
    }
    if (type != 1)
        return {};
    QList<uint32_t> params;
    for (int at = 12; at + 4 <= aContainer.size() && params.size() < 5; at += 4)
        params.append(qFromLittleEndian<uint32_t>(aContainer.constData() + at));
    mOperations.append(code);
    if (takesData(code)) {
        mAwaitingData = true;
        mPendingCode = code;
        mPendingTransaction = transaction;
        mPendingParams = params;
        return {};
    }
    return run(code, transaction, params, nullptr);
}

QList<QByteArray> MtpResponder::propertyList(uint32_t aTransaction, const QList<uint32_t>& aParams) const
{
    // As Android's MTP server answers: one object (depth 0), a folder and what it holds (depth
    // 1), or every object (0xFFFFFFFF at any depth); all properties or one; no groups.
    const auto param = [&](int aIndex) { return aIndex < aParams.size() ? aParams[aIndex] : 0u; };
    uint32_t handle = param(0);
    const uint32_t format = param(1);
    const uint32_t property = param(2);
    uint32_t depth = param(4);
    if (property == 0)
        return {response(kParameterNotSupported, aTransaction)};
    if (depth == 0xFFFFFFFFu && (handle == 0 || handle == kRoot)) {
        handle = kRoot;
        depth = 0;
    }
    if (depth > 1)
        return {response(kSpecificationByDepthUnsupported, aTransaction)};
    QList<uint32_t> handles;
    if (handle == kRoot) {
        handles = mStore.objects.keys();
    } else if (handle != 0) {
        if (!mStore.objects.contains(handle))
            return {response(kInvalidObjectHandle, aTransaction)};
        handles.append(handle);
    }
    if (handle == 0 || (depth == 1 && handle != kRoot))
        handles += mStore.children(0, handle);
    Writer list;
    uint32_t count = 0;
    for (uint32_t each : handles) {
        const Object& object = mStore.objects[each];
        if (format != 0 && object.format != format)
            continue;
        ++mObjectsDescribed;
        for (uint16_t code : kObjectProperties) {
            if (property != 0xFFFFFFFFu && property != code)
                continue;
            ++count;
            list.u32(each).u16(code);
            switch (code) {
            case kStorageIdProperty:
                list.u16(kTypeUint32).u32(object.storage);
                break;
            case kObjectFormatProperty:
                list.u16(kTypeUint16).u16(object.format);
                break;
            case kProtectionStatus:
                list.u16(kTypeUint16).u16(0);
                break;
            case kObjectSize:
                list.u16(kTypeUint64).u64(static_cast<uint64_t>(object.data.size()));
                break;
            case kParentObject:
                list.u16(kTypeUint32).u32(object.parent);
                break;
            case kPersistentUid:
                list.u16(kTypeUint128).u64(each).u64(0);
                break;
            case kDateModified:
                list.u16(kTypeString).str(QStringLiteral("20261206T120000"));
                break;
            default: // the file name, and the name
                list.u16(kTypeString).str(object.name);
                break;
            }
        }
    }
    Writer dataset;
    dataset.u32(count);
    return {container(2, kGetObjectPropList, aTransaction, dataset.bytes() + list.bytes()),
            response(kOk, aTransaction)};
}

QList<QByteArray> MtpResponder::run(uint16_t aCode, uint32_t aTransaction, const QList<uint32_t>& aParams,
                                    const QByteArray* aData)
{
    const auto param = [&](int aIndex) { return aIndex < aParams.size() ? aParams[aIndex] : 0u; };
    const auto data = [&](const QByteArray& aPayload) {
        return QList<QByteArray>{container(2, aCode, aTransaction, aPayload), response(kOk, aTransaction)};
    };
    if (aCode == kGetDeviceInfo) {
        Writer info;
        info.u16(100).u32(6).u16(100).str(QStringLiteral("microsoft.com: 1.0; android.com: 1.0;")).u16(0);
        info.u16s({kGetDeviceInfo, kOpenSession, kCloseSession, kGetStorageIds, kGetStorageInfo,
                   kGetObjectHandles, kGetObjectInfo, kGetObject, kDeleteObject, kSendObjectInfo, kSendObject,
                   kGetDevicePropDesc, kGetDevicePropValue, kGetObjectPropsSupported, kGetObjectPropDesc,
                   kSetObjectPropValue, kGetObjectPropList, kGetObjectReferences, kSetObjectReferences});
        info.u16s({});              // events
        info.u16s({kFriendlyName}); // device properties
        info.u16s({});              // capture formats
        info.u16s({kFormatUndefined, kFormatAssociation, 0x3009 /* MP3 */, 0x3801 /* JPEG */,
                   0xB982 /* MP4 */, 0xBA05 /* abstract playlist */, 0xBA11 /* M3U */});
        info.str(QStringLiteral("Google")).str(QStringLiteral("Pixel 7")).str(QStringLiteral("1.0"));
        info.str(QStringLiteral("ABC123"));
        return data(info.bytes());
    }
    if (aCode == kOpenSession) {
        if (mBusyOpens > 0) {
            --mBusyOpens;
            return {response(kDeviceBusy, aTransaction)};
        }
        if (mSessionOpen)
            return {response(kSessionAlreadyOpen, aTransaction)};
        mSessionOpen = true;
        return {response(kOk, aTransaction)};
    }
    if (!mSessionOpen)
        return {response(kSessionNotOpen, aTransaction)};
    switch (aCode) {
    case kCloseSession:
        mSessionOpen = false;
        return {response(kOk, aTransaction)};
    case kGetStorageIds: {
        QList<uint32_t> ids;
        if (!mLocked) {
            for (const PhoneStore::Storage& storage : mStore.storages())
                ids.append(storage.id);
        }
        return data(Writer().u32s(ids).bytes());
    }
    case kGetStorageInfo:
        for (const PhoneStore::Storage& storage : mStore.storages()) {
            if (storage.id != param(0) || mLocked)
                continue;
            Writer info;
            info.u16(3)
                .u16(2)
                .u16(0)
                .u64(storage.capacity)
                .u64(mStore.freeBytes(storage.id))
                .u32(0xFFFFFFFFu);
            info.str(storage.description).str(QString());
            return data(info.bytes());
        }
        return {response(kInvalidStorageId, aTransaction)};
    case kGetObjectHandles: {
        // The root is asked for as 0xFFFFFFFF; its objects have the parent 0.
        const uint32_t parent = param(2) == kRoot ? 0 : param(2);
        if (parent != 0 && !mStore.objects.contains(parent))
            return {response(kInvalidObjectHandle, aTransaction)};
        QList<uint32_t> handles;
        for (const Object& object : mStore.objects) {
            if ((param(0) == kRoot || object.storage == param(0)) && object.parent == parent)
                handles.append(object.handle);
        }
        return data(Writer().u32s(handles).bytes());
    }
    case kGetObjectInfo: {
        const auto object = mStore.objects.constFind(param(0));
        if (object == mStore.objects.constEnd())
            return {response(kInvalidObjectHandle, aTransaction)};
        ++mObjectsDescribed;
        Writer info;
        const bool folder = object->format == kFormatAssociation;
        info.u32(object->storage).u16(object->format).u16(0);
        info.u32(static_cast<uint32_t>(qMin<qint64>(object->data.size(), 0xFFFFFFFFLL)));
        info.u16(0).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
        info.u32(object->parent).u16(folder ? 1 : 0).u32(0).u32(0);
        info.str(object->name).str(QString()).str(QStringLiteral("20261206T120000")).str(QString());
        return data(info.bytes());
    }
    case kGetObject: {
        const auto object = mStore.objects.constFind(param(0));
        if (object == mStore.objects.constEnd() || object->format == kFormatAssociation)
            return {response(kInvalidObjectHandle, aTransaction)};
        return data(object->data);
    }
    case kDeleteObject:
        // As Android does: a folder goes with all it holds.
        if (!mStore.objects.contains(param(0)))
            return {response(kInvalidObjectHandle, aTransaction)};
        mStore.remove(param(0));
        return {response(kOk, aTransaction)};
    case kSendObjectInfo: {
        Reader info(*aData);
        info.u32(); // storage
        const uint16_t format = info.u16();
        info.u16();
        const uint32_t size = info.u32();
        info.skip(2 + 4 * 6);
        info.u32(); // parent in the dataset; the parameter rules
        info.skip(2 + 4 + 4);
        const QString name = info.str();
        const uint32_t storage = param(0);
        const uint32_t parent = param(1) == kRoot ? 0 : param(1);
        if (!info.ok() || name.isEmpty())
            return {response(kGeneralError, aTransaction)};
        if (parent != 0 &&
            (!mStore.objects.contains(parent) || mStore.objects[parent].format != kFormatAssociation))
            return {response(kInvalidParentObject, aTransaction)};
        if (mStore.childNamed(storage, parent, name))
            return {response(kGeneralError, aTransaction)}; // the file system has that name
        if (size > mStore.freeBytes(storage))
            return {response(kStoreFull, aTransaction)};
        mSendTarget = mStore.make(storage, parent, name, format);
        return {response(kOk, aTransaction, {storage, param(1), mSendTarget})};
    }
    case kSendObject:
        if (!mStore.objects.contains(mSendTarget))
            return {response(kGeneralError, aTransaction)};
        mStore.objects[mSendTarget].data = *aData;
        mSendTarget = 0;
        return {response(kOk, aTransaction)};
    case kGetDevicePropDesc:
        if (param(0) != kFriendlyName)
            return {response(kDevicePropNotSupported, aTransaction)};
        return data(
            Writer().u16(kFriendlyName).u16(0xFFFF).u8(1).str(QString()).str(mFriendlyName).u8(0).bytes());
    case kGetDevicePropValue:
        if (param(0) != kFriendlyName)
            return {response(kDevicePropNotSupported, aTransaction)};
        return data(Writer().str(mFriendlyName).bytes());
    case kGetObjectPropsSupported:
        return data(Writer().u16s(kObjectProperties).bytes());
    case kGetObjectPropList:
        return propertyList(aTransaction, aParams);
    case kGetObjectPropDesc:
        if (param(0) != kObjectSize)
            return {response(kObjectPropNotSupported, aTransaction)};
        return data(Writer().u16(kObjectSize).u16(0x0008).u8(0).u64(0).u32(0).u8(0).bytes());
    case kSetObjectPropValue: // no property is offered for setting
        return {response(kObjectPropNotSupported, aTransaction)};
    case kGetObjectReferences: {
        const auto object = mStore.objects.constFind(param(0));
        if (object == mStore.objects.constEnd())
            return {response(kInvalidObjectHandle, aTransaction)};
        return data(Writer().u32s(object->references).bytes());
    }
    case kSetObjectReferences: {
        const auto object = mStore.objects.find(param(0));
        if (object == mStore.objects.end())
            return {response(kInvalidObjectHandle, aTransaction)};
        Reader list(*aData);
        const uint32_t count = list.u32();
        object->references.clear();
        for (uint32_t i = 0; i < count && list.ok(); ++i)
            object->references.append(list.u32());
        return {response(list.ok() ? kOk : kGeneralError, aTransaction)};
    }
    default:
        return {response(kOperationNotSupported, aTransaction)};
    }
}
