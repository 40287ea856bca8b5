#pragma once
// TPersistent: objects that can be assigned from one another and that store
// properties of their own in component streams.

#include <functional>
#include <string>

#include "platform/rtl/exception.h"
#include "platform/rtl/object.h"

namespace tv {

class TReader;
class TWriter;

// What a persistent object offers the stream for data beyond its published
// properties; the component streams implement it.
class TFiler {
 public:
  virtual ~TFiler() = default;
  virtual void DefineProperty(const std::string& name, std::function<void(TReader&)> readData,
                              std::function<void(TWriter&)> writeData, bool hasData) = 0;
};

class TPersistent : public TObject {
  TV_CLASS(TPersistent, TObject)
 public:
  // Takes Source's content; a class that cannot raises EConvertError
  // "Cannot assign a <source class> to a <this class>".
  virtual void Assign(const TPersistent* source);
  virtual void DefineProperties(TFiler& /*filer*/) {}

 protected:
  virtual void AssignTo(TPersistent* destination) const;
};

}  // namespace tv
