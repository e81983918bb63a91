#include "platform/PdfOutline.h"

// qpdf 11: this code uses std::shared_ptr only, never the older PointerHolder.
#define POINTERHOLDER_TRANSITION 4
#include <algorithm>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <stdexcept>

namespace korvel {

namespace {

struct OutlineNode {
    QPDFObjectHandle item;
    std::vector<std::size_t> children; // indices into the node list
};

// Links the children of an outline item (or of the outline root) as the PDF outline wants
// them: /First and /Last on the parent, /Prev and /Next between siblings, /Parent on each.
// A closed item has a negative /Count, the number of its children.
void linkChildren(QPDFObjectHandle parent, const std::vector<OutlineNode>& nodes,
                  const std::vector<std::size_t>& kids, bool open) {
    if (kids.empty())
        return;
    parent.replaceKey("/First", nodes[kids.front()].item);
    parent.replaceKey("/Last", nodes[kids.back()].item);
    const auto count = static_cast<long long>(kids.size());
    parent.replaceKey("/Count", QPDFObjectHandle::newInteger(open ? count : -count));
    for (std::size_t i = 0; i < kids.size(); ++i) {
        QPDFObjectHandle item = nodes[kids[i]].item;
        item.replaceKey("/Parent", parent);
        if (i > 0)
            item.replaceKey("/Prev", nodes[kids[i - 1]].item);
        if (i + 1 < kids.size())
            item.replaceKey("/Next", nodes[kids[i + 1]].item);
    }
}

} // namespace

void writePdfWithOutline(const std::filesystem::path& in, const std::filesystem::path& out,
                         const std::vector<OutlineEntry>& entries) {
    try {
        QPDF pdf;
        pdf.processFile(in.string().c_str());
        const std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
        if (pages.empty())
            throw std::runtime_error("the document has no page");

        QPDFObjectHandle outlines = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        outlines.replaceKey("/Type", QPDFObjectHandle::newName("/Outlines"));
        std::vector<OutlineNode> nodes;
        std::vector<std::size_t> topLevel;
        // The open items at each depth, so that an entry finds its parent.
        std::vector<std::size_t> path;
        for (const OutlineEntry& entry : entries) {
            const auto page =
                static_cast<std::size_t>(std::clamp(entry.page, 0, static_cast<int>(pages.size()) - 1));
            QPDFObjectHandle item = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
            item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(entry.title));
            QPDFObjectHandle destination = QPDFObjectHandle::newArray();
            destination.appendItem(pages[page].getObjectHandle());
            destination.appendItem(QPDFObjectHandle::newName("/Fit"));
            item.replaceKey("/Dest", destination);
            const std::size_t level =
                std::min(static_cast<std::size_t>(std::max(entry.level, 0)), path.size());
            path.resize(level);
            const std::size_t index = nodes.size();
            nodes.push_back({item, {}});
            if (level == 0)
                topLevel.push_back(index);
            else
                nodes[path.back()].children.push_back(index);
            path.push_back(index);
        }
        linkChildren(outlines, nodes, topLevel, true);
        for (std::size_t i = 0; i < nodes.size(); ++i)
            linkChildren(nodes[i].item, nodes, nodes[i].children, false);

        QPDFObjectHandle root = pdf.getRoot();
        root.replaceKey("/Outlines", outlines);
        root.replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));
        QPDFWriter writer(pdf, out.string().c_str());
        writer.setStaticID(false);
        writer.write();
    } catch (const std::runtime_error&) {
        throw;
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string("cannot write the outline: ") + e.what());
    }
}

} // namespace korvel
