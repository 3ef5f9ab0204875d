#pragma once
// A window's place on the screen, kept in the settings file under the window's section (its Tag when
// that is not blank, otherwise its name): caption, top and left and, when asked, width and height, all
// in twips.

class Formulario;

void GuardaVentana(Formulario& forma, bool conTamano);
// A missing or broken placement puts the window at the top-left corner in the size it has.
void ColocaVentana(Formulario& forma, bool conTamano);
