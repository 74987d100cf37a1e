#include "reports/qt/SvgTemplateLoader.h"

#include <QFile>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

namespace {

// Templates are small pictures; anything larger is not one.
constexpr qint64 MaxTemplateBytes = 8 * 1024 * 1024;

std::vector<double> Numbers(const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    std::vector<double> values;
    for (const QString& part : text.split(separators, Qt::SkipEmptyParts)) {
        bool ok = false;
        const double v = part.toDouble(&ok);
        if (!ok || !std::isfinite(v)) return {};
        values.push_back(v);
    }
    return values;
}

int32_t Unit(double v) {
    return static_cast<int32_t>(std::lround(std::clamp(v, -1e9, 1e9)));
}

bool Attribute(const QXmlStreamAttributes& attributes, const char* name, double& value) {
    const auto values = Numbers(attributes.value(QLatin1String(name)).toString());
    if (values.size() != 1) return false;
    value = values[0];
    return true;
}

}  // namespace

TSvgFormSource::TSvgFormSource() = default;
TSvgFormSource::~TSvgFormSource() = default;

QSvgRenderer* TSvgFormSource::Renderer(size_t record) const {
    if (record >= fragments.size() || fragments[record].isEmpty()) return nullptr;
    if (renderers.size() < fragments.size()) renderers.resize(fragments.size());
    if (!renderers[record]) renderers[record] = std::make_unique<QSvgRenderer>(fragments[record]);
    return renderers[record]->isValid() ? renderers[record].get() : nullptr;
}

std::shared_ptr<const TFormTemplate> ReadSvgTemplate(const QByteArray& svg, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return nullptr;
    };
    // Offsets below index the decoded text, so each record's fragment is cut from its source.
    const QString text = QString::fromUtf8(svg);
    QXmlStreamReader reader(text);
    auto next = [&] { return reader.readNext(); };
    // Just after a start tag the reader stands at its end; no '<' can occur inside a tag.
    auto tagStart = [&] {
        return text.lastIndexOf(QLatin1Char('<'), reader.characterOffset() - 1);
    };
    while (!reader.atEnd() && next() != QXmlStreamReader::StartElement) {
    }
    if (reader.hasError() || reader.name() != QLatin1String("svg")) {
        return fail(QStringLiteral("not an SVG picture"));
    }
    const qint64 rootStart = tagStart();
    const QString rootTag = text.mid(rootStart, reader.characterOffset() - rootStart);
    const QXmlStreamAttributes rootAttributes = reader.attributes();

    auto form = std::make_shared<TFormTemplate>();
    auto source = std::make_shared<TSvgFormSource>();
    auto box = Numbers(rootAttributes.value(QLatin1String("viewBox")).toString());
    if (box.size() != 4) {
        double w = 0, h = 0;
        if (!Attribute(rootAttributes, "width", w) || !Attribute(rootAttributes, "height", h)) {
            return fail(QStringLiteral("the picture sets no window (viewBox)"));
        }
        box = {0, 0, w, h};
    }
    if (box[2] <= 0 || box[3] <= 0) return fail(QStringLiteral("the window is empty"));
    source->viewBox = QRectF(box[0], box[1], box[2], box[3]);
    form->records.push_back({TTemplateRecordKind::WindowOrigin, {{Unit(box[0]), Unit(box[1])}}});
    form->records.push_back({TTemplateRecordKind::WindowExtent, {{Unit(box[2]), Unit(box[3])}}});
    std::vector<QString> bodies(2);

    QString shared;  // definitions and style sheets, repeated in every fragment
    while (!reader.atEnd()) {
        const auto token = next();
        if (token == QXmlStreamReader::EndElement) break;  // the root closes
        if (token != QXmlStreamReader::StartElement) continue;
        const qint64 start = tagStart();
        const QString name = reader.name().toString();
        const QXmlStreamAttributes attributes = reader.attributes();
        reader.skipCurrentElement();
        if (reader.hasError()) break;
        const QString element = text.mid(start, reader.characterOffset() - start);

        if (name == QLatin1String("defs") || name == QLatin1String("style")) {
            shared += element;
            continue;
        }
        if (name == QLatin1String("title") || name == QLatin1String("desc") ||
            name == QLatin1String("metadata")) {
            continue;
        }
        TTemplateRecord record;
        // A transformed shape is drawing: its numbers are not where it lands.
        const bool plain = !attributes.hasAttribute(QLatin1String("transform"));
        double x = 0, y = 0, w = 0, h = 0;
        if (plain && name == QLatin1String("rect") && Attribute(attributes, "width", w) &&
            Attribute(attributes, "height", h)) {
            Attribute(attributes, "x", x);
            Attribute(attributes, "y", y);
            record.kind = TTemplateRecordKind::Rectangle;
            record.points = {{Unit(x), Unit(y)}, {Unit(x + w), Unit(y + h)}};
        } else if (plain &&
                   (name == QLatin1String("polyline") || name == QLatin1String("polygon"))) {
            const auto values = Numbers(attributes.value(QLatin1String("points")).toString());
            record.kind = name == QLatin1String("polyline") ? TTemplateRecordKind::Polyline
                                                            : TTemplateRecordKind::Polygon;
            for (size_t i = 0; i + 1 < values.size(); i += 2) {
                record.points.push_back({Unit(values[i]), Unit(values[i + 1])});
            }
        }
        if (record.kind == TTemplateRecordKind::Other &&
            form->records.back().kind == TTemplateRecordKind::Other && bodies.size() > 2) {
            bodies.back() += element;  // a run of drawing is one record
            continue;
        }
        form->records.push_back(std::move(record));
        bodies.push_back(element);
    }
    if (reader.hasError()) return fail(reader.errorString());

    source->fragments.resize(bodies.size());
    for (size_t i = 2; i < bodies.size(); ++i) {
        source->fragments[i] = (rootTag + shared + bodies[i] + QStringLiteral("</svg>")).toUtf8();
    }
    form->source = std::move(source);
    return form;
}

namespace {

int Load(const QString& path, int failure, std::shared_ptr<const TFormTemplate>& out) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxTemplateBytes) return failure;
    const QByteArray bytes = file.read(MaxTemplateBytes);
    if (file.error() != QFileDevice::NoError) return failure;
    out = ReadSvgTemplate(bytes);
    return out ? FormOk : failure;
}

}  // namespace

int TSvgTemplateLoader::LoadResource(uint16_t resource, std::shared_ptr<const TFormTemplate>& out) {
    if (auto found = forms.find(resource); found != forms.end()) {
        out = found->second;
        return FormOk;
    }
    int status = Load(QStringLiteral(":/forms/%1.svg").arg(resource), FormNoResource, out);
    if (status == FormOk) forms.emplace(resource, out);
    return status;
}

int TSvgTemplateLoader::LoadFile(const std::string& fileName,
                                 std::shared_ptr<const TFormTemplate>& out) {
    return Load(QFile::decodeName(QByteArray::fromStdString(fileName)), FormFileFailed, out);
}
