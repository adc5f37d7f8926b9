#include "FolioApp.h"

#include <CLI/CLI.hpp>

#include "AppendCommands.h"
#include "ConvertCommand.h"
#include "CWorkFolder.h"
#include "DemoCommand.h"
#include "DialogCommand.h"
#include "ExitCodes.h"
#include "InspectCommand.h"
#include "RenderCommand.h"
#include "folio/platform/ui/CConsoleWindowing.h"
#include "folio/platform/ui/IWindowing.h"

#ifndef FOLIO_VERSION
#define FOLIO_VERSION "0"
#endif

namespace FolioCli {
namespace {

struct SArguments {
  SRenderRequest render;
  std::string option;
  SInspectRequest inspect;
  std::filesystem::path appendSource;
  std::filesystem::path appendTarget;
  std::filesystem::path placeholderReport;
  SPlaceholderRequest placeholder;
  bool summaryPlaceholder = false;
  bool noScaleFont = false;
  std::filesystem::path demoOut = "out";
  SDialogRequest dialog;
  bool renderPdf = false;
  bool convertPdf = false;
  SConvertRequest convert;
};

void AddRender(CLI::App& app, SArguments& a) {
  CLI::App* render = app.add_subcommand("render", "Fill a template with the values of a values file");
  render->add_option("TEMPLATE", a.render.templatePath, "report template (.htm, .html, .docx, .docm, .doc)")->required()->check(CLI::ExistingFile);
  render->add_option("--values", a.render.valuesPath, "values file (JSON)")->required()->check(CLI::ExistingFile);
  render->add_option("-o,--output", a.render.reportPath, "report to write (default: TEMPLATE-report in this folder)");
  render->add_option("--option", a.option,
                     "what to do with an existing report: auto (add to it through a temporary report), "
                     "overwrite (ask first), replace (overwrite without asking), append")
      ->check(CLI::IsMember({"auto", "overwrite", "replace", "append"}));
  render->add_flag("--strict", a.render.strict, "fail, writing nothing, when a placeholder has no value");
  render->add_option("--picture-folder", a.render.pictureFolders,
                     "also take pictures from this folder (by default only the values file's folder)");
  render->add_flag("--pdf", a.renderPdf, "also write a PDF beside the report");
}

void AddConvert(CLI::App& app, SArguments& a) {
  CLI::App* convert = app.add_subcommand("convert", "Write a PDF beside each report (HTML through Chromium, "
                                                    "Word through LibreOffice)");
  convert->add_option("REPORT", a.convert.reports, "HTML or Word report")->required()->check(CLI::ExistingFile);
  convert->add_flag("--pdf", a.convertPdf, "convert to PDF (the only target format)")->required();
  convert->add_option("--timeout", a.convert.timeoutSeconds, "seconds allowed per report")
      ->capture_default_str()->check(CLI::Range(1, 3600));
  convert->add_option("--workers", a.convert.workers, "converters run at once (default: one per core)")
      ->check(CLI::Range(1, 64));
}

void AddInspect(CLI::App& app, SArguments& a) {
  CLI::App* inspect = app.add_subcommand("inspect", "List the placeholders of a template and its problems");
  inspect->add_option("TEMPLATE", a.inspect.templatePath, "report template (.htm, .html, .docx, .docm, .doc)")
      ->required()->check(CLI::ExistingFile);
  inspect->add_option("--values", a.inspect.valuesPath, "also show which value answers each placeholder")
      ->check(CLI::ExistingFile);
  inspect->add_flag("--strict", a.inspect.strict, "fail when the template has any problem");
}

void AddAppend(CLI::App& app, SArguments& a) {
  CLI::App* append = app.add_subcommand("append", "Append one report to another of its kind (HTML or Word)");
  append->add_option("SOURCE", a.appendSource, "report to append")->required()->check(CLI::ExistingFile);
  append->add_option("TARGET", a.appendTarget, "report to append to (a copy of SOURCE when missing)")->required();
}

void AddPlaceholder(CLI::App& app, SArguments& a) {
  CLI::App* add = app.add_subcommand("add-placeholder", "Append one placeholder to an HTML or Word report");
  SPlaceholderRequest& p = a.placeholder;
  add->add_option("REPORT", a.placeholderReport, "HTML or Word report (or template) to extend")
      ->required()->check(CLI::ExistingFile);
  add->add_option("--group", p.group, "result group, e.g. Roughness")->required();
  add->add_option("--field", p.field, "field of the group, e.g. RoughnessParameter")->required();
  add->add_option("--parameter1", p.parameter1, "first parameter, e.g. Sa");
  add->add_option("--parameter2", p.parameter2, "second parameter");
  add->add_option("--statistics1", p.statistics1, "statistic over one image, e.g. Mean");
  add->add_option("--statistics2", p.statistics2, "statistic over the batch, e.g. Mean");
  add->add_option("--unit-options", p.unitOptions, "0 number and unit, 1 number, 2 unit")
      ->capture_default_str()
      ->check(CLI::Range(0, 3));
  add->add_option("--picture-options", p.pictureOptions,
                  "0 best fit, 1 fixed width, 2 fixed height, 3 stretch")
      ->capture_default_str()
      ->check(CLI::Range(0, 3));
  add->add_option("--resolution-factor", p.resolutionFactor, "picture resolution factor")->capture_default_str();
  add->add_flag("--no-scale-font", a.noScaleFont, "do not scale the font with the picture");
  add->add_flag("--summary", a.summaryPlaceholder, "a summary value rather than a per-measurement one");
}

void AddDialog(CLI::App& app, SArguments& a) {
  CLI::App* dialog = app.add_subcommand("dialog", "Open the report dialog on the desktop");
  dialog->add_option("TEMPLATE", a.dialog.templatePath, "report template (default: the one chosen last time)")
      ->check(CLI::ExistingFile);
  dialog->add_option("--values", a.dialog.valuesPath, "values file (JSON) that answers the placeholders")
      ->check(CLI::ExistingFile);
}

int Dispatch(CLI::App& app, SArguments& a, const char* executable, std::ostream& out, std::ostream& err) {
  if (app.got_subcommand("render")) {
    a.render.option = a.option.empty() ? std::nullopt : ParseReportOption(a.option);
    a.render.interactive = IsInteractive();
    const int status = RunRender(a.render, out, err);
    if (status != eExitOk || !a.renderPdf) return status;
    SConvertRequest pdf;
    pdf.reports = {a.render.reportPath.empty() ? DefaultReportPath(a.render.templatePath) : a.render.reportPath};
    return RunConvert(pdf, out, err);
  }
  if (app.got_subcommand("dialog")) return RunDialog(a.dialog, out, err);
  // The other commands belong to a terminal: their questions and progress go there,
  // even on a desktop.
  SetWindowing(std::make_shared<CConsoleWindowing>());
  if (app.got_subcommand("convert")) return RunConvert(a.convert, out, err);
  if (app.got_subcommand("inspect")) return RunInspect(a.inspect, out, err);
  if (app.got_subcommand("append")) return RunAppend(a.appendSource, a.appendTarget, out, err);
  if (app.got_subcommand("add-placeholder")) {
    a.placeholder.body = !a.summaryPlaceholder;
    a.placeholder.scaleFont = !a.noScaleFont;
    return RunAddPlaceholder(a.placeholderReport, a.placeholder, out, err);
  }
  return RunDemo(FindExamples(executable), a.demoOut, out, err);
}

}  // namespace

int RunFolio(int argc, char** argv, std::ostream& out, std::ostream& err) {
  CLI::App app("Folio: fills report templates (HTML and Word) with measurement values.", "folio");
  app.set_version_flag("--version", std::string("folio ") + FOLIO_VERSION);
  app.require_subcommand(1, 1);
  SArguments a;
  AddRender(app, a);
  AddInspect(app, a);
  AddAppend(app, a);
  AddPlaceholder(app, a);
  AddDialog(app, a);
  AddConvert(app, a);
  CLI::App* demo = app.add_subcommand("demo", "Render the bundled examples into ./out/");
  demo->add_option("--out", a.demoOut, "folder for the reports")->capture_default_str();
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e, out, err);
    return status == 0 ? eExitOk : eExitUsage;
  }
  SetApplicationTitle(u"folio");
  return Dispatch(app, a, argc > 0 ? argv[0] : "folio", out, err);
}

}  // namespace FolioCli
