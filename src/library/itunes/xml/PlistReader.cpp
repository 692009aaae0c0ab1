#include "library/itunes/xml/PlistReader.h"

#include <QIODevice>

#include <cstring>

namespace {
constexpr qsizetype kChunk = 1 << 20;
// No value or tag of a real library comes near this: a longer one is damage (or an attack on
// the reader's memory), and the file is refused.
constexpr qsizetype kMaxToken = 1 << 20;

bool isNameChar(char aChar)
{
    return aChar != '>' && aChar != '/' && aChar != ' ' && aChar != '\t' && aChar != '\r' && aChar != '\n';
}

void appendUtf8(QByteArray& aOut, char32_t aCode)
{
    if (aCode < 0x80) {
        aOut.append(static_cast<char>(aCode));
    } else if (aCode < 0x800) {
        aOut.append(static_cast<char>(0xC0 | (aCode >> 6)));
        aOut.append(static_cast<char>(0x80 | (aCode & 0x3F)));
    } else if (aCode < 0x10000) {
        aOut.append(static_cast<char>(0xE0 | (aCode >> 12)));
        aOut.append(static_cast<char>(0x80 | ((aCode >> 6) & 0x3F)));
        aOut.append(static_cast<char>(0x80 | (aCode & 0x3F)));
    } else {
        aOut.append(static_cast<char>(0xF0 | (aCode >> 18)));
        aOut.append(static_cast<char>(0x80 | ((aCode >> 12) & 0x3F)));
        aOut.append(static_cast<char>(0x80 | ((aCode >> 6) & 0x3F)));
        aOut.append(static_cast<char>(0x80 | (aCode & 0x3F)));
    }
}

} // namespace

PlistReader::PlistReader(QIODevice& aDevice)
    : mDevice(aDevice), mNames{"",        "plist", "dict", "array", "key",  "string",
                               "integer", "real",  "date", "data",  "true", "false"}
{
}

PlistReader::Token PlistReader::fail(const char* aWhy)
{
    if (mError.isEmpty())
        mError =
            QString::fromLatin1(aWhy) + QStringLiteral(" at byte ") + QString::number(mConsumed + mPosition);
    return Token::Error;
}

bool PlistReader::ensure(qsizetype aBytes)
{
    while (mBuffer.size() - mPosition < aBytes && !mAtEnd) {
        // Drop what was read; keep the unread tail.
        mConsumed += mPosition;
        mBuffer.remove(0, mPosition);
        mPosition = 0;
        const qsizetype old = mBuffer.size();
        mBuffer.resize(old + kChunk);
        const qint64 got = mDevice.read(mBuffer.data() + old, kChunk);
        mBuffer.resize(old + (got > 0 ? got : 0));
        if (got <= 0)
            mAtEnd = true;
    }
    return mBuffer.size() - mPosition >= aBytes;
}

qsizetype PlistReader::find(char aChar, qsizetype aFrom)
{
    for (;;) {
        const char* start = mBuffer.constData() + aFrom;
        const void* hit = std::memchr(start, aChar, static_cast<std::size_t>(mBuffer.size() - aFrom));
        if (hit)
            return static_cast<const char*>(hit) - mBuffer.constData();
        const qsizetype searched = mBuffer.size() - mPosition;
        if (searched > kMaxToken) {
            fail("a value or tag longer than 1 MB");
            return -1;
        }
        if (!ensure(searched + 1))
            return -1;
        aFrom = mPosition + searched;
    }
}

qsizetype PlistReader::find(QByteArrayView aText, qsizetype aFrom)
{
    for (;;) {
        const qsizetype hit = mBuffer.indexOf(aText, aFrom);
        if (hit >= 0)
            return hit;
        const qsizetype searched = mBuffer.size() - mPosition;
        if (searched > kMaxToken) {
            fail("a value or tag longer than 1 MB");
            return -1;
        }
        if (!ensure(searched + 1))
            return -1;
        aFrom = std::max(mPosition, mPosition + searched - aText.size());
    }
}

bool PlistReader::skipPast(QByteArrayView aText)
{
    const qsizetype at = find(aText, mPosition);
    if (at < 0)
        return false;
    mPosition = at + aText.size();
    return true;
}

bool PlistReader::skipDoctype()
{
    // <!DOCTYPE plist PUBLIC "..." "..."> — an internal subset could declare entities, which a
    // library never has: refuse it rather than expand anything.
    const qsizetype close = find('>', mPosition);
    if (close < 0)
        return false;
    if (QByteArrayView(mBuffer.constData() + mPosition, close - mPosition).contains('['))
        return false;
    mPosition = close + 1;
    return true;
}

PlistReader::Token PlistReader::next()
{
    if (mPendingEnd) {
        mPendingEnd = false;
        mOpen.pop_back();
        return Token::End;
    }
    for (;;) {
        const qsizetype open = find('<', mPosition);
        if (open < 0) {
            mPosition = mBuffer.size();
            if (!mOpen.empty() || !mSeenRoot)
                return fail("unexpected end of file");
            return Token::Done;
        }
        if (open > mPosition && !mOpen.empty()) {
            mTextView = QByteArrayView(mBuffer.constData() + mPosition, open - mPosition);
            mTextIsCdata = false;
            mPosition = open;
            return Token::Text;
        }
        mPosition = open;
        ensure(9); // enough to tell the kinds of markup apart; the last tag may be shorter
        const QByteArrayView at(mBuffer.constData() + mPosition, mBuffer.size() - mPosition);
        if (at.size() < 3)
            return fail("unexpected end of file");
        // Nearly every markup is a tag: the others are looked for only after "<!".
        const bool declaration = at[1] == '!';
        if (at[1] == '?') {
            if (!skipPast("?>"))
                return fail("unterminated processing instruction");
        } else if (declaration && at.startsWith("<!--")) {
            if (!skipPast("-->"))
                return fail("unterminated comment");
        } else if (declaration && at.startsWith("<![CDATA[")) {
            const qsizetype end = find(QByteArrayView("]]>"), mPosition + 9);
            if (end < 0 || mOpen.empty())
                return fail("misplaced CDATA");
            mTextView = QByteArrayView(mBuffer.constData() + mPosition + 9, end - mPosition - 9);
            mTextIsCdata = true;
            mPosition = end + 3;
            return Token::Text;
        } else if (declaration && at.startsWith("<!DOCTYPE")) {
            if (mSeenRoot || !skipDoctype())
                return fail("unsupported document type declaration");
        } else {
            const qsizetype close = find('>', mPosition);
            if (close < 0)
                return fail("unterminated tag");
            const char* tag = mBuffer.constData() + mPosition;
            const qsizetype length = close - mPosition + 1;
            mPosition = close + 1;
            if (tag[1] == '/') {
                qsizetype end = 2;
                while (end < length - 1 && isNameChar(tag[end]))
                    ++end;
                if (mOpen.empty() || QByteArrayView(tag + 2, end - 2) != mNames[mOpen.back()])
                    return fail("mismatched end tag");
                mOpen.pop_back();
                return Token::End;
            }
            qsizetype end = 1;
            while (end < length - 1 && isNameChar(tag[end]))
                ++end;
            if (end == 1)
                return fail("malformed tag");
            if (mOpen.empty() && mSeenRoot)
                return fail("content after the document");
            mSeenRoot = true;
            // A property list nests a few levels; thousands are an attack on the reader.
            if (mOpen.size() >= 256)
                return fail("elements nested deeper than 256 levels");
            mName = intern(QByteArrayView(tag + 1, end - 1));
            if (mName < 0) {
                mName = 0;
                return fail("more than 64 different element names");
            }
            mOpen.push_back(mName);
            mPendingEnd = tag[length - 2] == '/';
            return Token::Start;
        }
    }
}

bool PlistReader::readNextStartElement()
{
    for (;;) {
        switch (next()) {
        case Token::Start:
            return true;
        case Token::Text:
            continue;
        case Token::End:
        case Token::Done:
        case Token::Error:
            return false;
        }
    }
}

int PlistReader::intern(QByteArrayView aName)
{
    // Names are a few bytes long: compared here, not by a call for each.
    const auto same = [aName](const QByteArray& aKnown) {
        if (aKnown.size() != aName.size())
            return false;
        for (qsizetype i = 0; i < aName.size(); ++i) {
            if (aKnown.at(i) != aName.at(i))
                return false;
        }
        return true;
    };
    for (std::size_t i = 1; i < mNames.size(); ++i) {
        if (same(mNames[i]))
            return static_cast<int>(i);
    }
    // A property list has a dozen names; a file with endless ones is no property list.
    if (mNames.size() > 64)
        return -1;
    mNames.emplace_back(aName.toByteArray());
    return static_cast<int>(mNames.size()) - 1;
}

bool PlistReader::decode(QByteArrayView aRaw, QByteArray& aOut)
{
    if (!aRaw.contains('&')) {
        aOut.append(aRaw.data(), aRaw.size());
        return true;
    }
    for (qsizetype i = 0; i < aRaw.size();) {
        if (aRaw[i] != '&') {
            const qsizetype next = aRaw.indexOf('&', i);
            const qsizetype end = next < 0 ? aRaw.size() : next;
            aOut.append(aRaw.data() + i, end - i);
            i = end;
            continue;
        }
        const qsizetype semicolon = aRaw.indexOf(';', i);
        if (semicolon < 0 || semicolon - i > 12)
            return false;
        const QByteArrayView entity = aRaw.sliced(i + 1, semicolon - i - 1);
        if (entity == "amp")
            aOut.append('&');
        else if (entity == "lt")
            aOut.append('<');
        else if (entity == "gt")
            aOut.append('>');
        else if (entity == "quot")
            aOut.append('"');
        else if (entity == "apos")
            aOut.append('\'');
        else if (entity.startsWith('#')) {
            bool ok = false;
            const uint code = entity.startsWith("#x")
                                  ? QByteArray(entity.sliced(2).toByteArray()).toUInt(&ok, 16)
                                  : QByteArray(entity.sliced(1).toByteArray()).toUInt(&ok, 10);
            if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                return false;
            appendUtf8(aOut, code);
        } else {
            return false; // no other entity exists in a property list
        }
        i = semicolon + 1;
    }
    return true;
}

qsizetype PlistReader::textBeforeEndTag()
{
    // Offsets are taken relative to the read position, which stays valid when the buffer moves.
    const qsizetype open = find('<', mPosition);
    if (open < 0)
        return -1;
    const qsizetype textLength = open - mPosition;
    const QByteArray& name = mNames[static_cast<std::size_t>(mName)];
    if (!ensure(textLength + 3 + name.size()))
        return -1;
    const char* tag = mBuffer.constData() + mPosition + textLength;
    if (tag[1] != '/' || std::memcmp(tag + 2, name.constData(), static_cast<std::size_t>(name.size())) != 0 ||
        tag[2 + name.size()] != '>')
        return -1;
    return textLength;
}

void PlistReader::consumeTextAndEndTag(qsizetype aTextLength)
{
    mPosition += aTextLength + 3 + mNames[static_cast<std::size_t>(mName)].size();
    mOpen.pop_back();
}

QByteArrayView PlistReader::readElementText()
{
    if (mPendingEnd) {
        next();
        return QByteArrayView("");
    }
    // The usual case: plain text, then this element's end tag.
    const qsizetype textLength = textBeforeEndTag();
    if (textLength >= 0) {
        const QByteArrayView text(mBuffer.constData() + mPosition, textLength);
        if (!text.contains('&')) {
            consumeTextAndEndTag(textLength);
            return text;
        }
    }
    mText.clear();
    for (;;) {
        switch (next()) {
        case Token::Text:
            if (mTextIsCdata)
                mText.append(mTextView.data(), mTextView.size());
            else if (!decode(mTextView, mText)) {
                fail("unknown character reference");
                return QByteArrayView();
            }
            continue;
        case Token::End:
            return mText;
        case Token::Start:
            fail("element inside a value");
            return QByteArrayView();
        case Token::Done:
        case Token::Error:
            return QByteArrayView();
        }
    }
}

void PlistReader::skipCurrentElement()
{
    // The usual case: a value of plain text (its references are not looked at when skipped).
    if (!mPendingEnd) {
        const qsizetype textLength = textBeforeEndTag();
        if (textLength >= 0)
            return consumeTextAndEndTag(textLength);
    }
    int depth = 1;
    while (depth > 0) {
        switch (next()) {
        case Token::Start:
            ++depth;
            break;
        case Token::End:
            --depth;
            break;
        case Token::Text:
            break;
        case Token::Done:
        case Token::Error:
            return;
        }
    }
}

bool PlistReader::finish()
{
    for (;;) {
        switch (next()) {
        case Token::Start:
            skipCurrentElement();
            break;
        case Token::End:
        case Token::Text:
            break;
        case Token::Done:
            return !hasError();
        case Token::Error:
            return false;
        }
    }
}
