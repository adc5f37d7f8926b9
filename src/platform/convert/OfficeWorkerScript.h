#pragma once

namespace FolioConvert {

// The Python program a warm LibreOffice worker runs (python3 -c): it starts soffice with
// the profile and pipe name given as arguments, connects through UNO and then converts
// one document per request line "IN\tOUT" on standard input, answering "ok" or
// "error\tTEXT" on standard output. "ready" (or "error\t...") is its first line.
inline constexpr const char* kOfficeWorkerScript = R"PY(
import os, subprocess, sys, time
try:
    import uno
    from com.sun.star.beans import PropertyValue
except ImportError:
    print("error\tpython3-uno is not installed", flush=True)
    sys.exit(1)

soffice, profile, pipe = sys.argv[1], sys.argv[2], sys.argv[3]
office = subprocess.Popen([soffice, "--headless", "--invisible", "--norestore", "--nolockcheck", "--nodefault",
                          "-env:UserInstallation=" + uno.systemPathToFileUrl(profile),
                          "--accept=pipe,name=%s;urp;StarOffice.ComponentContext" % pipe],
                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p

local = uno.getComponentContext()
resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
desktop = None
for attempt in range(600):
    try:
        context = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
        desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)
        break
    except Exception:
        if office.poll() is not None:
            break
        time.sleep(0.05)
if desktop is None:
    print("error\tLibreOffice did not start", flush=True)
    office.kill()
    sys.exit(1)
print("ready", flush=True)

for line in sys.stdin:
    source, target = line.rstrip("\n").split("\t")
    try:
        document = desktop.loadComponentFromURL(uno.systemPathToFileUrl(source), "_blank", 0,
                                                (prop("Hidden", True), prop("ReadOnly", True)))
        if document is None:
            raise RuntimeError("cannot open the document")
        try:
            document.storeToURL(uno.systemPathToFileUrl(target), (prop("FilterName", "writer_pdf_Export"),))
        finally:
            document.close(True)
        print("ok", flush=True)
    except Exception as e:
        print("error\t" + (str(e) or type(e).__name__).replace("\n", " "), flush=True)
try:
    desktop.terminate()
except Exception:
    pass
office.kill()
)PY";

}  // namespace FolioConvert
