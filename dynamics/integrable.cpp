#include "dynamics/integrable.h"

kxtype kxdintegrable::Type("kxdintegrable", sizeof(kxdintegrable));

kxdintegrable* kxdintegrable::As(kxnode* node) { return kxnode::As<kxdintegrable>(node); }

void kxdintegrable::PreChange(kxdintegrable*) {}
void kxdintegrable::ComputeChange(kxdintegrable*, int) {}
void kxdintegrable::Integrate(kxdintegrable*, int, float) {}
void kxdintegrable::Write(kxout&) {}

void kxdintegrable::Analyse() {
  for (kxnode* c = firstChild; c; c = c->nextSibling) {
    if (kxdintegrable* i = As(c)) i->Analyse();
  }
}

void kxdintegrable::Prepare() {
  for (kxnode* c = firstChild; c; c = c->nextSibling) {
    if (kxdintegrable* i = As(c)) i->Prepare();
  }
}

void kxdintegrable::UpdateVisual() {
  for (kxnode* c = firstChild; c; c = c->nextSibling) {
    if (kxdintegrable* i = As(c)) i->UpdateVisual();
  }
}

void kxdintegrable::PostVisual() {
  for (kxnode* c = firstChild; c; c = c->nextSibling) {
    if (kxdintegrable* i = As(c)) i->PostVisual();
  }
}

void kxdintegrable::ResetState() {
  for (kxnode* c = firstChild; c; c = c->nextSibling) {
    if (kxdintegrable* i = As(c)) i->ResetState();
  }
}

void kxdintegrable::ApplyMatrix(const kxmatrix& M) {
  for (kxnode* c = firstChild; c; c = c->nextSibling) {
    if (kxdintegrable* i = As(c)) i->ApplyMatrix(M);
  }
}
