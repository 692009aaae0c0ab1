#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

class QIODevice;

// A streaming reader for XML property lists, much faster than a general XML reader: elements
// without meaningful attributes, text with the predefined and numeric character references,
// comments, CDATA and a DOCTYPE without declarations. Checks well-formedness (matching tags, a
// whole document), so a damaged or half-written file is an error. Reads its device in chunks and
// keeps nothing of what it passed. The navigation mirrors QXmlStreamReader's.
class PlistReader
{
public:
    explicit PlistReader(QIODevice& aDevice);

    // The elements of a property list, told apart without comparing names.
    enum class Element
    {
        Other,
        Plist,
        Dict,
        Array,
        Key,
        String,
        Integer,
        Real,
        Date,
        Data,
        True,
        False,
    };

    // Moves to the next start element inside the current element; false at the current
    // element's end (which is consumed), at the document's end or on an error.
    bool readNextStartElement();
    // The element last started (Other for a name outside a property list's).
    Element element() const { return mName <= int(Element::False) ? Element(mName) : Element::Other; }
    // At a start element: its text, decoded, as UTF-8; the element is consumed. The view is valid
    // until the next call. An element inside is an error.
    QByteArrayView readElementText();
    // At a start element: skips it whole.
    void skipCurrentElement();
    // Reads what is left of the document: true when it ends whole, with nothing after the root.
    bool finish();

    bool hasError() const { return !mError.isEmpty(); }
    QString errorString() const { return mError; }

private:
    enum class Token
    {
        Start,
        End,
        Text,
        Done,
        Error,
    };

    Token next();
    bool ensure(qsizetype aBytes);
    qsizetype find(char aChar, qsizetype aFrom);
    qsizetype find(QByteArrayView aText, qsizetype aFrom);
    bool skipPast(QByteArrayView aText);
    bool skipDoctype();
    bool decode(QByteArrayView aRaw, QByteArray& aOut);
    // At a start element holding only text: the text's length when the element's end tag follows
    // it, else -1 (markup inside, or the file ends); nothing is consumed.
    qsizetype textBeforeEndTag();
    void consumeTextAndEndTag(qsizetype aTextLength);
    // The index of aName in mNames, added when new; -1 when there are too many names.
    int intern(QByteArrayView aName);
    Token fail(const char* aWhy);

    QIODevice& mDevice;
    QByteArray mBuffer;
    qsizetype mPosition = 0;
    qint64 mConsumed = 0; // bytes of the file before mBuffer
    bool mAtEnd = false;

    // The few element names of a property list, each kept once; elements are named by index,
    // so that starting and ending one copies no string.
    std::vector<QByteArray> mNames; // first the names of Element, in its order
    std::vector<int> mOpen;         // the open elements' names, innermost last
    int mName = 0;                  // the element last started
    bool mPendingEnd = false;       // a <name/> was read: its end comes next
    bool mSeenRoot = false;
    QByteArrayView mTextView; // the last text token, valid until the next read
    bool mTextIsCdata = false;
    QByteArray mText;
    QString mError;
};
