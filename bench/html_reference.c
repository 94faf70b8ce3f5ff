/* The plain reference of the web report benchmark: the same HTML table written from its cells
 * with stdio alone. Input (tab-separated, one line each): the title; the headers; the body rows,
 * each its number and its cells; "=" and the totals row's cells. Usage: html_reference CELLS OUT */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void escaped(FILE *out, const char *s, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        switch (s[i]) {
        case '&': fputs("&amp;", out); break;
        case '<': fputs("&lt;", out); break;
        case '>': fputs("&gt;", out); break;
        default: putc(s[i], out);
        }
    }
}

/* Calls cell() with each tab-separated field of the line (without its end of line). */
static void fields(char *line, void (*cell)(FILE *, const char *, size_t, int), FILE *out)
{
    size_t n = strcspn(line, "\r\n");
    line[n] = 0;
    int index = 0;
    for (char *p = line;; ++index) {
        char *tab = strchr(p, '\t');
        size_t len = tab ? (size_t)(tab - p) : strlen(p);
        cell(out, p, len, index);
        if (!tab)
            break;
        p = tab + 1;
    }
}

static void header(FILE *out, const char *s, size_t n, int i)
{
    (void)i;
    fputs("<th>", out);
    escaped(out, s, n);
    fputs("</th>\r\n", out);
}

static void body(FILE *out, const char *s, size_t n, int i)
{
    fputs("<td>", out);
    if (i == 0)
        fwrite(s, 1, n, out);
    else
        escaped(out, s, n);
    fputs("</td>\r\n", out);
}

static void totals(FILE *out, const char *s, size_t n, int i)
{
    if (i == 0)
        return; /* the "=" mark */
    if (n == 0) {
        fputs("<td>\r\n</td>\r\n", out);
        return;
    }
    fputs("<td>", out);
    escaped(out, s, n);
    fputs("</td>\r\n", out);
}

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    FILE *in = fopen(argv[1], "rb"), *out = fopen(argv[2], "wb");
    if (!in || !out)
        return 1;
    setvbuf(out, NULL, _IOFBF, 1 << 20);
    static const char headerRow[] = "<tr bgcolor=\"#22ddff\" valign=\"middle\">\r\n";
    char *line = NULL;
    size_t cap = 0;
    if (getline(&line, &cap, in) < 0)
        return 1;
    line[strcspn(line, "\r\n")] = 0;
    fputs("\xEF\xBB\xBF<html>\r\n<head><meta charset=\"utf-8\"><title>", out);
    escaped(out, line, strlen(line));
    fputs("</title></head>\r\n<body>\r\n<table dir=\"rtl\" border=\"1\" align=\"center\" width=\"95%\">\r\n<thead>\r\n", out);
    fputs(headerRow, out);
    fputs("<th>\xd8\xb1\xd8\xaf\xd9\x8a\xd9\x81</th>\r\n", out); /* the row number's header */
    if (getline(&line, &cap, in) < 0)
        return 1;
    fields(line, header, out);
    fputs("</tr>\r\n</thead>\r\n<tbody>\r\n", out);
    while (getline(&line, &cap, in) >= 0) {
        if (line[0] == '=') {
            fputs(headerRow, out);
            fields(line, totals, out);
        } else {
            fputs("<tr>\r\n", out);
            fields(line, body, out);
        }
        fputs("</tr>\r\n", out);
    }
    fputs("</tbody>\r\n</table>\r\n</body>\r\n</html>\r\n", out);
    free(line);
    fclose(in);
    return fclose(out) == 0 ? 0 : 1;
}
