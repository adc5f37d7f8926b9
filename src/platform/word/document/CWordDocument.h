#pragma once
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/com/IDispatch.h"
#include "platform/word/package/CPackage.h"
#include "platform/word/document/CStory.h"

// One open document of the engine: its package, its stories, the objects created
// from its embedded parts, and the ids it hands out.
class CWordDocument {
public:
  // Reads a .docx or .docm package; CComError when it is unreadable or hostile.
  static std::shared_ptr<CWordDocument> FromBytes(std::string bytes, std::filesystem::path path = {});
  // The same over bytes that owner keeps alive as long as the document lives.
  static std::shared_ptr<CWordDocument> Open(std::string_view bytes, std::shared_ptr<const void> owner,
                                             std::filesystem::path path = {});
  // A new document with one empty paragraph.
  static std::shared_ptr<CWordDocument> CreateEmpty();

  CPackage& Package() { return *m_package; }
  CPart& MainPart() { return *m_main; }
  const std::filesystem::path& Path() const { return m_path; }
  void SetPath(std::filesystem::path path) { m_path = std::move(path); }

  std::shared_ptr<CStory> MainStory();
  // The story that holds node of part (the nearest text box, else the part's story).
  std::shared_ptr<CStory> StoryOf(CPart& part, pugi::xml_node node);
  // The header or footer story of that type (primary, first-page or even-pages) of the
  // first section that has one; null when none has.
  std::shared_ptr<CStory> HeaderFooter(EStoryType type);
  // Header and footer parts the sections refer to.
  std::vector<CPart*> HeaderFooterParts();

  // A drawing id unused anywhere in the package.
  unsigned NextDrawingId();
  // The live object of an embedded part, created by make on first use; saved back into
  // its part when the document is saved.
  std::shared_ptr<IDispatch> Component(CPart& part, bool control, const CLSID& clsid,
                                       const std::function<std::shared_ptr<IDispatch>()>& make);
  // The package bytes with every live object saved into its part.
  std::string SaveBytes();
  // The same, written to path.
  void SaveToFile(const std::filesystem::path& path);

private:
  CWordDocument() = default;
  // The header and footer references of every section, in document order.
  std::vector<pugi::xml_node> HeaderFooterReferences();
  // The story type a header or footer part is referenced as (the first reference wins).
  EStoryType HeaderFooterType(const CPart& part, bool header);
  void Adopt(std::unique_ptr<CPackage> package, std::filesystem::path path);
  void SaveComponents();
  struct SComponent {
    std::shared_ptr<IDispatch> object;
    bool control;
    CLSID clsid;
  };
  std::unique_ptr<CPackage> m_package;
  CPart* m_main = nullptr;
  std::filesystem::path m_path;
  std::map<const void*, std::shared_ptr<CStory>> m_stories;
  std::map<std::string, SComponent> m_components;  // by part name
  unsigned m_nextDrawingId = 0;
};
