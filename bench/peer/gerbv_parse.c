/* zz-gerbv-parse FILE: opens and parses one Gerber file through libgerbv, and nothing else.
 * The package ships the library without its headers, so the three prototypes are declared here. */
#include <stdio.h>

typedef struct gerbv_project gerbv_project_t;

gerbv_project_t *gerbv_create_project(void);
void gerbv_open_layer_from_filename(gerbv_project_t *project, const char *filename);
void gerbv_destroy_project(gerbv_project_t *project);

int main(int argc, char **argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: zz-gerbv-parse FILE\n");
    return 2;
  }
  gerbv_project_t *project = gerbv_create_project();
  if (project == NULL) return 1;
  gerbv_open_layer_from_filename(project, argv[1]);
  gerbv_destroy_project(project);
  return 0;
}
