#include "PeerParsers.h"

#include <gumbo.h>
#include <libxml/HTMLparser.h>
#include <myhtml/api.h>

namespace {

void CountStart(void* counter, const xmlChar*, const xmlChar**) { ++*static_cast<size_t*>(counter); }
void CountEnd(void* counter, const xmlChar*) { ++*static_cast<size_t*>(counter); }
void CountText(void* counter, const xmlChar*, int) { ++*static_cast<size_t*>(counter); }
void CountComment(void* counter, const xmlChar*) { ++*static_cast<size_t*>(counter); }
void Quiet(void*, const char*, ...) {}

htmlSAXHandler MakeCountingHandler() {
  htmlSAXHandler handler{};
  handler.startElement = CountStart;
  handler.endElement = CountEnd;
  handler.characters = CountText;
  handler.ignorableWhitespace = CountText;
  handler.comment = CountComment;
  handler.warning = Quiet;
  handler.error = Quiet;
  return handler;
}

void* CountToken(myhtml_tree_t*, myhtml_token_node_t*, void* counter) {
  ++*static_cast<size_t*>(counter);
  return counter;
}

}  // namespace

size_t ParseWithLibxml2Sax(const std::string& bytes) {
  static htmlSAXHandler handler = MakeCountingHandler();
  size_t counter = 0;
  htmlDocPtr document = htmlSAXParseDoc(reinterpret_cast<const xmlChar*>(bytes.c_str()), "UTF-8",
                                        &handler, &counter);
  if (document) xmlFreeDoc(document);
  return counter;
}

size_t ParseWithGumbo(const std::string& bytes) {
  GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, bytes.data(), bytes.size());
  const size_t children = output->root->v.element.children.length;
  gumbo_destroy_output(&kGumboDefaultOptions, output);
  return children;
}

struct CMyhtmlParser::SState {
  myhtml_t* myhtml = nullptr;
  myhtml_tree_t* tree = nullptr;
  size_t tokens = 0;
};

CMyhtmlParser::CMyhtmlParser() : m_state(new SState) {
  m_state->myhtml = myhtml_create();
  myhtml_init(m_state->myhtml, MyHTML_OPTIONS_PARSE_MODE_SINGLE, 1, 0);
  m_state->tree = myhtml_tree_create();
  myhtml_tree_init(m_state->tree, m_state->myhtml);
  myhtml_callback_before_token_done_set(m_state->tree, CountToken, &m_state->tokens);
}

CMyhtmlParser::~CMyhtmlParser() {
  myhtml_tree_destroy(m_state->tree);
  myhtml_destroy(m_state->myhtml);
  delete m_state;
}

size_t CMyhtmlParser::Parse(const std::string& bytes) {
  m_state->tokens = 0;
  myhtml_parse(m_state->tree, MyENCODING_UTF_8, bytes.data(), bytes.size());
  return m_state->tokens;
}
