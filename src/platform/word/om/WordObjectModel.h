#pragma once
// Word's object model as Folio drives it. Collections count from 1; an omitted
// optional argument is CVariant::Missing(); flags are 16-bit integers (1 true, 0
// false; LockAspectRatio uses -1 for true). A failing call raises CComError.
#include <memory>

#include "folio/util/CStr.h"
#include "platform/com/CVariant.h"
#include "platform/com/IDispatch.h"

class IWordDocuments;
class IWordDocument;
class IWordRange;
class IWordSelection;
class IWordCharacters;
class IWordInlineShapes;
class IWordInlineShape;
class IWordOLEFormat;
class IWordFields;
class IWordField;
class IWordShapes;
class IWordShape;
class IWordTextFrame;
class IWordStoryRanges;
class IWordTables;
class IWordTable;

inline const CVariant kMissing = CVariant::Missing();

// wdStoryType values the engine serves.
enum EWordStoryType : long {
  eWordMainTextStory = 1,
  eWordTextFrameStory = 5,
  eWordEvenPagesHeaderStory = 6,
  eWordPrimaryHeaderStory = 7,
  eWordEvenPagesFooterStory = 8,
  eWordPrimaryFooterStory = 9,
  eWordFirstPageHeaderStory = 10,
  eWordFirstPageFooterStory = 11
};

class IWordApplication {
public:
  virtual ~IWordApplication() = default;
  virtual std::shared_ptr<IWordDocuments> Documents() = 0;
  virtual std::shared_ptr<IWordSelection> Selection() = 0;
  // Closes every document (saving none unless SaveChanges is -1) and ends the application.
  virtual void Quit(const CVariant& saveChanges = kMissing, const CVariant& originalFormat = kMissing,
                    const CVariant& routeDocument = kMissing) = 0;
  // points * 96 / 72 (the engine's screen has 96 pixels per inch both ways).
  virtual float PointsToPixels(float points, const CVariant& fVertical = kMissing) = 0;
};

class IWordDocuments {
public:
  virtual ~IWordDocuments() = default;
  virtual long Count() = 0;
  virtual std::shared_ptr<IWordDocument> Open(const CVariant& fileName, const CVariant& confirmConversions = kMissing,
                                              const CVariant& readOnly = kMissing, const CVariant& addToRecentFiles = kMissing,
                                              const CVariant& passwordDocument = kMissing,
                                              const CVariant& passwordTemplate = kMissing, const CVariant& revert = kMissing,
                                              const CVariant& writePasswordDocument = kMissing,
                                              const CVariant& writePasswordTemplate = kMissing,
                                              const CVariant& format = kMissing, const CVariant& encoding = kMissing,
                                              const CVariant& visible = kMissing) = 0;
  // A new empty document: one empty paragraph (Start 0, End 1).
  virtual std::shared_ptr<IWordDocument> Add(const CVariant& templateName = kMissing, const CVariant& newTemplate = kMissing,
                                             const CVariant& documentType = kMissing, const CVariant& visible = kMissing) = 0;
};

class IWordDocument {
public:
  virtual ~IWordDocument() = default;
  virtual std::shared_ptr<IWordInlineShapes> InlineShapes() = 0;
  virtual std::shared_ptr<IWordShapes> Shapes() = 0;
  virtual std::shared_ptr<IWordFields> Fields() = 0;
  virtual std::shared_ptr<IWordTables> Tables() = 0;
  virtual std::shared_ptr<IWordStoryRanges> StoryRanges() = 0;
  // The main text.
  virtual std::shared_ptr<IWordRange> Content() = 0;
  // A range of the main text; both missing: the whole document.
  virtual std::shared_ptr<IWordRange> Range(const CVariant& start = kMissing, const CVariant& end = kMissing) = 0;
  // Selects the whole main text.
  virtual void Select() = 0;
  virtual void SaveAs(const CVariant& fileName = kMissing, const CVariant& fileFormat = kMissing,
                      const CVariant& lockComments = kMissing, const CVariant& password = kMissing,
                      const CVariant& addToRecentFiles = kMissing, const CVariant& writePassword = kMissing,
                      const CVariant& readOnlyRecommended = kMissing, const CVariant& embedTrueTypeFonts = kMissing,
                      const CVariant& saveNativePictureFormat = kMissing, const CVariant& saveFormsData = kMissing,
                      const CVariant& saveAsAOCELetter = kMissing) = 0;
  // Closes the document; SaveChanges -1 saves it first under its own name.
  virtual void Close(const CVariant& saveChanges = kMissing, const CVariant& originalFormat = kMissing,
                     const CVariant& routeDocument = kMissing) = 0;
  virtual CStr FullName() = 0;
};

// A range is also an automation object, so that it can travel as a dispatch variant.
class IWordRange : public IDispatch {
public:
  virtual CStr Text() = 0;
  // Replaces the range's content; the range then covers the new text.
  virtual void SetText(const CStr& text) = 0;
  virtual long Start() = 0;
  virtual long End() = 0;
  virtual void SetStart(long start) = 0;
  virtual void SetEnd(long end) = 0;
  virtual std::shared_ptr<IWordFields> Fields() = 0;
  virtual std::shared_ptr<IWordInlineShapes> InlineShapes() = 0;
  // Deletes the range (a collapsed range: Count characters after it); returns 1 when
  // something was deleted, else 0.
  virtual long Delete(const CVariant& unit = kMissing, const CVariant& count = kMissing) = 0;
  virtual std::shared_ptr<IWordTables> Tables() = 0;
  virtual long StoryType() = 0;
};

class IWordCharacters {
public:
  virtual ~IWordCharacters() = default;
  virtual long Count() = 0;
  virtual std::shared_ptr<IWordRange> First() = 0;
  virtual std::shared_ptr<IWordRange> Last() = 0;
};

class IWordSelection {
public:
  virtual ~IWordSelection() = default;
  virtual std::shared_ptr<IWordRange> Range() = 0;
  virtual std::shared_ptr<IWordCharacters> Characters() = 0;
  virtual long Start() = 0;
  virtual long End() = 0;
  virtual void SetRange(long start, long end) = 0;
  // 1 (or missing): to the start; 0: to the end.
  virtual void Collapse(const CVariant& direction = kMissing) = 0;
  // Inserts a whole document at the selection (whose content it replaces).
  virtual void InsertFile(const CStr& fileName, const CVariant& range = kMissing,
                          const CVariant& confirmConversions = kMissing, const CVariant& link = kMissing,
                          const CVariant& attachment = kMissing) = 0;
  virtual long Delete(const CVariant& unit = kMissing, const CVariant& count = kMissing) = 0;
  // Replaces the selection by text and leaves the insertion point after it.
  virtual void TypeText(const CStr& text) = 0;
  // Deletes the selection, or the character before the insertion point.
  virtual void TypeBackspace() = 0;
};

class IWordInlineShapes {
public:
  virtual ~IWordInlineShapes() = default;
  virtual long Count() = 0;
  // DISP_E_BADINDEX outside 1..Count.
  virtual std::shared_ptr<IWordInlineShape> Item(long index) = 0;
  // Inserts the picture at the start of Range (missing: the start of this collection's range).
  virtual std::shared_ptr<IWordInlineShape> AddPicture(const CStr& fileName, const CVariant& linkToFile = kMissing,
                                                       const CVariant& saveWithDocument = kMissing,
                                                       const CVariant& range = kMissing) = 0;
  virtual std::shared_ptr<IWordInlineShape> AddOLEControl(const CVariant& classType = kMissing,
                                                          const CVariant& range = kMissing) = 0;
};

class IWordInlineShape {
public:
  virtual ~IWordInlineShape() = default;
  virtual std::shared_ptr<IWordRange> Range() = 0;
  // Null when the shape holds no embedded object or control.
  virtual std::shared_ptr<IWordOLEFormat> OLEFormat() = 0;
  virtual float Height() = 0;
  virtual float Width() = 0;
  virtual void SetHeight(float points) = 0;
  virtual void SetWidth(float points) = 0;
  virtual float ScaleHeight() = 0;
  virtual float ScaleWidth() = 0;
  virtual void SetScaleHeight(float percent) = 0;
  virtual void SetScaleWidth(float percent) = 0;
  virtual long LockAspectRatio() = 0;
  virtual void SetLockAspectRatio(long value) = 0;
  virtual void Select() = 0;
  virtual void Delete() = 0;
  virtual CStr AlternativeText() = 0;
};

class IWordOLEFormat {
public:
  virtual ~IWordOLEFormat() = default;
  virtual CStr ClassType() = 0;
  // The object's dispatch interface (created from its saved state on first use).
  virtual std::shared_ptr<IDispatch> Object() = 0;
  virtual void Activate() = 0;
};

class IWordFields {
public:
  virtual ~IWordFields() = default;
  virtual long Count() = 0;
  virtual std::shared_ptr<IWordField> Item(long index) = 0;
  // Updates every field; returns 0 when all could be updated.
  virtual long Update() = 0;
};

class IWordField {
public:
  virtual ~IWordField() = default;
  virtual CStr Code() = 0;
  virtual CStr Result() = 0;
  virtual std::shared_ptr<IWordOLEFormat> OLEFormat() = 0;
  virtual std::shared_ptr<IWordInlineShape> InlineShape() = 0;
  // Recomputes the result where no page layout is needed; returns whether it did.
  virtual bool Update() = 0;
};

class IWordShapes {
public:
  virtual ~IWordShapes() = default;
  virtual long Count() = 0;
  virtual std::shared_ptr<IWordShape> Item(const CVariant& index) = 0;
};

class IWordShape {
public:
  virtual ~IWordShape() = default;
  // Null for a shape that cannot hold text.
  virtual std::shared_ptr<IWordTextFrame> TextFrame() = 0;
};

class IWordTextFrame {
public:
  virtual ~IWordTextFrame() = default;
  virtual long HasText() = 0;
  virtual std::shared_ptr<IWordRange> TextRange() = 0;
};

class IWordStoryRanges {
public:
  virtual ~IWordStoryRanges() = default;
  virtual long Count() = 0;
  // DISP_E_BADINDEX (as Word: "The requested member of the collection does not exist")
  // for a story the document does not have.
  virtual std::shared_ptr<IWordRange> Item(long storyType) = 0;
};

class IWordTables {
public:
  virtual ~IWordTables() = default;
  virtual long Count() = 0;
  virtual std::shared_ptr<IWordTable> Item(long index) = 0;
};

class IWordTable {
public:
  virtual ~IWordTable() = default;
  virtual std::shared_ptr<IWordRange> Range() = 0;
};
