// The native half of the Python package: thin calls into libquillet with the
// GIL released. Path checks and result objects live in quillet/__init__.py.
// SPDX-License-Identifier: AGPL-3.0-or-later
#include "readable/ReadableText.h"

#include <quillet/quillet.h>

#include <pybind11/pybind11.h>

#include <cstdint>
#include <string>

namespace py = pybind11;

namespace {

// Each Python thread that converts gets its own PDF engine, made on first use
// and released when the thread ends, so Python never sees quilletInitialize.
class ThreadEngine {
public:
    static void ensure()
    {
        thread_local ThreadEngine engine;
        (void)engine;
    }

private:
    ThreadEngine() : owned_(quilletInitialize() == 0) {}
    ~ThreadEngine()
    {
        if (owned_)
            quilletDestory();
    }
    ThreadEngine(const ThreadEngine&) = delete;
    ThreadEngine& operator=(const ThreadEngine&) = delete;

    bool owned_;
};

// Paths arrive as the file system's own bytes (os.fsencode), so they are
// handed on untranslated.
py::object detect(const py::bytes& path)
{
    const std::string native = path;
    const char* name = nullptr;
    {
        py::gil_scoped_release release;
        name = getFileFormate(native.c_str(), 0);
    }
    if (name == nullptr)
        return py::none();
    return py::str(name);
}

// A file (its path's bytes) or a document's own bytes read for people, with
// the GIL released.
quillet::readable::Document readDocument(const py::bytes& source, bool isPath, bool extras, int timeLimit,
                                         bool structure)
{
    const std::string bytes = source;
    quillet::readable::Options options;
    options.extras = extras;
    options.timeLimitSeconds = timeLimit;
    options.structure = structure;
    py::gil_scoped_release release;
    ThreadEngine::ensure();
    return isPath ? quillet::readable::readDocument(bytes, options)
                  : quillet::readable::readDocumentBytes(bytes, options);
}

// The readable text and the conversion's result code.
py::tuple readableText(const py::bytes& source, bool isPath, bool extras, int timeLimit)
{
    const quillet::readable::Document document = readDocument(source, isPath, extras, timeLimit, false);
    return py::make_tuple(document.code, py::str(document.text.data(), document.text.size()));
}

// The readable text cut into its parts, with the format and the properties
// (as JSON): (code, format, metadata, [(kind, index, name, text)]).
py::tuple readableDocument(const py::bytes& source, bool isPath, bool extras, int timeLimit)
{
    const quillet::readable::Document document = readDocument(source, isPath, extras, timeLimit, true);
    py::list parts;
    for (const quillet::readable::Part& part : document.parts)
        parts.append(py::make_tuple(py::str(part.kind), part.index, py::str(part.name),
                                    py::str(document.text.data() + part.start, part.size)));
    return py::make_tuple(document.code, py::str(document.format), py::str(document.metadataJson), parts);
}

uint32_t exportDocument(const py::bytes& source, const py::bytes& folder, uint32_t flags, int timeLimit)
{
    const std::string nativeSource = source;
    const std::string nativeFolder = folder;
    py::gil_scoped_release release;
    ThreadEngine::ensure();
    return export2Txt(nativeSource.c_str(), nativeFolder.c_str(), 0, flags, timeLimit);
}

}  // namespace

PYBIND11_MODULE(_quillet, module)
{
    module.doc() = "libquillet calls behind the quillet package";
    module.def("detect", &detect, py::arg("path"));
    module.def("readable_text", &readableText, py::arg("source"), py::arg("is_path"), py::arg("extras"),
               py::arg("time_limit"));
    module.def("readable_document", &readableDocument, py::arg("source"), py::arg("is_path"), py::arg("extras"),
               py::arg("time_limit"));
    module.def("export", &exportDocument, py::arg("source"), py::arg("folder"), py::arg("flags"),
               py::arg("time_limit"));
    module.attr("WRITE_TEXT") = static_cast<uint32_t>(quillet::WriteText);
    module.attr("WRITE_PICTURES") = static_cast<uint32_t>(quillet::WritePictures);
    module.attr("WRITE_EXTRAS") = static_cast<uint32_t>(quillet::WriteExtras);
    module.attr("WRITE_RECORD") = static_cast<uint32_t>(quillet::WriteRecord);
    module.attr("__version__") = QUILLET_VERSION;
}
