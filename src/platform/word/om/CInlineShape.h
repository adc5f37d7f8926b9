#pragma once
#include "platform/word/om/CRange.h"

// One inline object (a run child: w:drawing, w:pict, w:object or mc:AlternateContent).
class CInlineShape : public IWordInlineShape {
public:
  CInlineShape(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc,
               std::shared_ptr<CStory> story, pugi::xml_node node);

  std::shared_ptr<IWordRange> Range() override;
  std::shared_ptr<IWordOLEFormat> OLEFormat() override;
  float Height() override;
  float Width() override;
  void SetHeight(float points) override;
  void SetWidth(float points) override;
  float ScaleHeight() override;
  float ScaleWidth() override;
  void SetScaleHeight(float percent) override;
  void SetScaleWidth(float percent) override;
  long LockAspectRatio() override;
  void SetLockAspectRatio(long value) override;
  void Select() override;
  void Delete() override;
  CStr AlternativeText() override;

private:
  // The atom index of the shape; CComError when it was deleted.
  std::int32_t Position();
  // The element that carries the geometry (wp:inline, or the VML shape).
  pugi::xml_node Frame();
  struct SSize {
    double width, height;  // points
  };
  SSize CurrentSize();
  SSize OwnSize();
  void Resize(double width, double height);

  std::shared_ptr<CWordApplication> m_app;
  std::shared_ptr<CWordDocument> m_doc;
  std::shared_ptr<CStory> m_story;
  pugi::xml_node m_node;
};
