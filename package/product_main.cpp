// The product itself, kept deliberately small: a window showing its name, so
// the installer has a real program to install, find running and start.
#include <SDL.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 240;

void Paint(cairo_t* cr) {
  cairo_set_source_rgb(cr, 0.16, 0.35, 0.70);
  cairo_paint(cr);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string("Sans Bold 36");
  pango_layout_set_font_description(layout, font);
  pango_layout_set_text(layout, "Lexivar", -1);
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout, &w, &h);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_move_to(cr, (kWidth - w) / 2.0, (kHeight - h) / 2.0);
  pango_cairo_show_layout(cr, layout);
  pango_font_description_free(font);
  g_object_unref(layout);
}

// Draws once into a cairo image and copies it to the window surface.
void Present(SDL_Window* window) {
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(image);
  Paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(image);
  SDL_Surface* src = SDL_CreateRGBSurfaceWithFormatFrom(cairo_image_surface_get_data(image), kWidth, kHeight, 32,
                                                        cairo_image_surface_get_stride(image),
                                                        SDL_PIXELFORMAT_RGB888);
  if (SDL_Surface* dst = SDL_GetWindowSurface(window); src && dst) {
    SDL_BlitSurface(src, nullptr, dst, nullptr);
    SDL_UpdateWindowSurface(window);
  }
  SDL_FreeSurface(src);
  cairo_surface_destroy(image);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
    std::puts("Lexivar 1.7.9");
    return 0;
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "Lexivar needs a graphical display: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Window* window = SDL_CreateWindow("Lexivar", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth,
                                        kHeight, SDL_WINDOW_SHOWN);
  if (!window) {
    std::fprintf(stderr, "Lexivar cannot open its window: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  Present(window);
  for (SDL_Event ev; SDL_WaitEvent(&ev) && ev.type != SDL_QUIT;) {
    if (ev.type == SDL_WINDOWEVENT && ev.window.event == SDL_WINDOWEVENT_EXPOSED) Present(window);
  }
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
