#pragma once

// One report object (a page with its bands and views, a band, a view) to and
// from XML, shared by the templates and the prepared-report file.

#include <QString>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <functional>
#include <memory>

#include "report/model/objects.h"

namespace report {

struct ObjectXmlOptions {
  // With a sink, pictures are written as Picture.Ref="<what the sink returns>"
  // instead of their data (the prepared-report file keeps them once, in its
  // picture cache).
  std::function<QString(const Picture&)> pictureSink;
  // Takes Picture.Ref for the view (it may resolve it later); false is an error.
  std::function<bool(const QString& ref, PictureView& view)> pictureSource;
  // The folder relative Picture.File paths start from.
  QString baseFolder;
};

void WriteObject(QXmlStreamWriter& writer, const Component& object,
                 const ObjectXmlOptions& options = {});

// Reads the element the reader stands on (a StartElement) with its children
// and leaves the reader on its EndElement. `allowedParent` limits what may be
// read here: nullptr for a page, else the page or band it is placed in. On
// failure returns nullptr and sets `message`, the reader's position telling
// where.
std::unique_ptr<Component> ReadObject(QXmlStreamReader& reader, const ObjectXmlOptions& options,
                                      QString& message);

// Sets one property from its attribute text; false with a message when the
// class has no such property or the text is not a valid value. Used to apply
// the difference records of prepared pages.
bool SetProperty(Component& object, QStringView name, const QString& value, QString& message);
// The attribute text of a property ("" when the class has no such property).
QString PropertyText(const Component& object, QStringView name);

// A number as attribute text: the shortest form that reads back exactly.
QString NumberText(double value);

}  // namespace report
