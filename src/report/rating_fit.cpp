#include "report/rating_fit.hpp"

#include <cmath>

namespace tarnwick {

namespace {

// Ratings are centred and scaled so that Newton's steps stay well conditioned.
constexpr double kScale = 400;
constexpr int kMaxSteps = 100;

struct Fit {
    double a = 0;
    double b = 0;
    // The inverse of the information matrix: the estimates' variances and covariance.
    double varA = 0;
    double varB = 0;
    double cov = 0;
};

// Newton-Raphson on the log-likelihood; empty when it does not settle (separable data).
std::optional<Fit> fitLogistic(const std::vector<std::pair<double, bool>>& points) {
    Fit fit;
    for (int step = 0; step < kMaxSteps; ++step) {
        double gA = 0, gB = 0, hAA = 0, hAB = 0, hBB = 0;
        for (const auto& [x, solved] : points) {
            const double p = 1 / (1 + std::exp(-(fit.a + fit.b * x)));
            const double w = p * (1 - p);
            gA += (solved ? 1 : 0) - p;
            gB += ((solved ? 1 : 0) - p) * x;
            hAA += w;
            hAB += w * x;
            hBB += w * x * x;
        }
        const double det = hAA * hBB - hAB * hAB;
        if (!(det > 1e-12)) return std::nullopt;
        fit.varA = hBB / det;
        fit.varB = hAA / det;
        fit.cov = -hAB / det;
        const double dA = fit.varA * gA + fit.cov * gB;
        const double dB = fit.cov * gA + fit.varB * gB;
        fit.a += dA;
        fit.b += dB;
        if (!std::isfinite(fit.a) || !std::isfinite(fit.b)) return std::nullopt;
        if (std::abs(dA) < 1e-10 && std::abs(dB) < 1e-10) return fit;
    }
    return std::nullopt;
}

}  // namespace

std::optional<RatingEstimate> fitRating(const std::vector<std::pair<int32_t, bool>>& results) {
    if (results.empty()) return std::nullopt;
    double mean = 0;
    for (const auto& [rating, solved] : results) mean += rating;
    mean /= static_cast<double>(results.size());
    std::vector<std::pair<double, bool>> points;
    points.reserve(results.size());
    for (const auto& [rating, solved] : results)
        points.emplace_back((rating - mean) / kScale, solved);
    const std::optional<Fit> fit = fitLogistic(points);
    if (!fit || fit->b >= 0) return std::nullopt;
    // The crossing x0 = -a / b, and its variance by the delta method.
    const double x0 = -fit->a / fit->b;
    const double variance =
        (fit->varA + x0 * x0 * fit->varB + 2 * x0 * fit->cov) / (fit->b * fit->b);
    if (!(variance >= 0) || !std::isfinite(x0)) return std::nullopt;
    const double sigma = std::sqrt(variance) * kScale;
    const double rating = mean + x0 * kScale;
    return RatingEstimate{rating, rating - 2 * sigma, rating + 2 * sigma};
}

}  // namespace tarnwick
