// Form templates drawn as SVG: the root viewBox is the template's window, the top-level rect,
// polyline and polygon elements are candidate fields, and every other element is drawing that a
// page replays through the SVG renderer.
#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <map>
#include <memory>
#include <vector>

#include "reports/FormEngine.h"

class QSvgRenderer;

// What a template read from SVG keeps to draw its records: for each record a small SVG document
// with the template's root element and definitions around the record's own elements.
class TSvgFormSource : public TFormTemplateSource {
public:
    TSvgFormSource();
    ~TSvgFormSource() override;

    QRectF viewBox;
    std::vector<QByteArray> fragments;  // by record; empty for the window records

    // The renderer of a record's fragment, made when first asked; null for a record with
    // nothing to draw.
    QSvgRenderer* Renderer(size_t record) const;

private:
    mutable std::vector<std::unique_ptr<QSvgRenderer>> renderers;
};

// The template in `svg`, or null with the reason in `error`.
std::shared_ptr<const TFormTemplate> ReadSvgTemplate(const QByteArray& svg,
                                                     QString* error = nullptr);

// Resource n is the form compiled in as ":/forms/<n>.svg"; files are read from disk.
class TSvgTemplateLoader : public TTemplateLoader {
public:
    // The forms built into the program never change, so each is read once per loader and every
    // page after the first reuses it; files are read afresh each time.
    int LoadResource(uint16_t resource, std::shared_ptr<const TFormTemplate>& out) override;
    int LoadFile(const std::string& fileName, std::shared_ptr<const TFormTemplate>& out) override;

private:
    std::map<uint16_t, std::shared_ptr<const TFormTemplate>> forms;
};
