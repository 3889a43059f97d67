#include "TCommentEditForm.h"

#include "TTarvixPlusModel.h"
#include "TTextEditor.h"
#include "WindowIcons.h"

TCommentEditForm::TCommentEditForm(TTarvixPlusModel* model, QWidget* parent) : TTextDocumentForm(model, parent) {
  setObjectName(QStringLiteral("CommentEditForm"));
  Editor()->setObjectName(QStringLiteral("CommentEditor"));
  Editor()->setAccessibleName(QStringLiteral("Programmkommentar"));
  SetCaption(QStringLiteral("Programmkommentar"));
  setWindowIcon(windowicons::Icon(windowicons::Kind::Comment));
  LoadLines(ModelLines());
  if (!model) Editor()->setReadOnly(true);
}

TCommentEditForm::~TCommentEditForm() { CommitEdits(); }

void TCommentEditForm::StoreLines(const QStringList& lines) {
  if (Model()) Model()->SetComment(lines);
}

QStringList TCommentEditForm::ModelLines() const { return Model() ? Model()->Comment() : QStringList(); }

void TCommentEditForm::WriteDesktop(QDataStream& out) const { WriteEditorState(out); }

void TCommentEditForm::ReadDesktop(QDataStream& in) { ReadEditorState(in); }
